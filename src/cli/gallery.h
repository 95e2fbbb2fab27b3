// `kalmia-cli gallery`: a static web page with a card for every map pair
// below some folders (a thumbnail, the name, size, thresholds, set cells and
// check's messages), a summary and a search box. The page needs nothing from
// the network and works from file://; the same input gives the same bytes.
#pragma once

#include <string>
#include <vector>

// Exit 0 when every pair opened, 1 when any was refused (the page is written
// all the same), 2 when OUTDIR or a file in it cannot be written.
int RunGallery(const std::vector<std::string>& folders, const std::string& outFolder);
