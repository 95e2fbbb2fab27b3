// Our XML reader against libxml2, an independent conforming parser, on
// generated documents: they must agree on accepting or refusing every
// document, and on the tree of every document both accept. The few
// legitimate differences are listed in libxml2_oracle.cpp with their reasons.
#include <gtest/gtest.h>

#include <map>

#include "core/test_support.h"
#include "libxml2_oracle.h"
#include "xml/xml_loading.h"
#include "xml_documents.h"

namespace {

struct Tally {
    int tried = 0;
    int agreed = 0;
    std::map<std::string, int> knownDifferences;
};

void compare(const GeneratedDocument& document, Tally& tally) {
    ++tally.tried;
    const XMLNodesPtr ours = LoadXMLBytes(document.bytes);
    const auto theirs = describeWithLibxml2(document.bytes);
    if ((ours != nullptr) != theirs.has_value()) {
        const char* reason = knownDifference(document.bytes);
        EXPECT_NE(reason, nullptr)
            << (ours ? "we accept" : "we refuse") << " what libxml2 "
            << (theirs ? "accepts" : "refuses") << " ("
            << (document.broken.empty() ? "generated" : document.broken) << "):\n"
            << document.bytes;
        if (reason) ++tally.knownDifferences[reason];
        return;
    }
    if (ours && describeTree(ours) != *theirs) {
        const char* reason = knownDifference(document.bytes, true);
        EXPECT_NE(reason, nullptr) << "trees differ:\n"
                                   << describeTree(ours) << "\n"
                                   << *theirs << "\n"
                                   << document.bytes;
        if (reason) ++tally.knownDifferences[reason];
        return;
    }
    if (!document.broken.empty()) {
        EXPECT_EQ(ours, nullptr) << document.broken;
    }
    ++tally.agreed;
}

TEST(XmlDifferential, OurReaderAndLibxml2AgreeOnEveryGeneratedDocument) {
    std::mt19937 random(2026);
    Tally tally;
    for (int i = 0; i < 400; ++i) {
        const GeneratedDocument document = wellFormedDocument(random);
        ASSERT_TRUE(describeWithLibxml2(document.bytes)) << "generator made " << document.bytes;
        compare(document, tally);
        for (const GeneratedDocument& broken : brokenVariants(document.bytes, random))
            compare(broken, tally);
        for (int k = 0; k < 5; ++k) compare({mutatedByOneByte(document.bytes, random), ""}, tally);
    }
    std::cout << "documents tried: " << tally.tried << ", agreed: " << tally.agreed << "\n";
    for (const auto& [reason, count] : tally.knownDifferences)
        std::cout << "  known difference, " << count << " times: " << reason << "\n";
}

}  // namespace
