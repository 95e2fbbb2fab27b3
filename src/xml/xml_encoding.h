// Finds a parameter file's character encoding (byte-order mark first, then the
// declaration's encoding, UTF-8 when neither says) and decodes it to UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// nullopt for an encoding we do not know or bytes not valid in it.
std::optional<std::string> decodeXmlToUtf8(std::string_view bytes);

// The encoding named in a leading <?xml ...?> declaration, or "" if none.
std::string declaredEncoding(std::string_view bytes);
