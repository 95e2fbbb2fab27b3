// Bytes in, our reader and libxml2 side by side: they must agree on
// accepting or refusing, and on the tree, except for the listed known
// differences.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/test_support.h"
#include "fuzz_support.h"
#include "oracle/libxml2_oracle.h"
#include "xml/xml_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const XMLNodesPtr ours = LoadXMLBytes(bytes);
    const auto theirs = describeWithLibxml2(bytes);
    if ((ours != nullptr) != theirs.has_value()) {
        FUZZ_CHECK(knownDifference(bytes) != nullptr);
        return 0;
    }
    if (ours && describeTree(ours) != *theirs) FUZZ_CHECK(knownDifference(bytes, true) != nullptr);
    return 0;
}
