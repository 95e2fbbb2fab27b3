// `kalmia-cli gallery`: a static web page with a card for every map pair
// below some folders (a thumbnail, the name, size, thresholds, set cells and
// check's messages), a summary and a search box. The page needs nothing from
// the network and works from file://; the same input gives the same bytes.
#pragma once

#include <string>
#include <vector>

#include "cli/exit_status.h"

// Yes when every pair opened, No when any was refused (the page is written
// all the same), NotAnswered when OUTDIR or a file in it cannot be written.
ExitStatus RunGallery(const std::vector<std::string>& folders, const std::string& outFolder);
