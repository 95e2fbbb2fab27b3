// Generated XML documents for comparing our reader with libxml2: well-formed
// ones with every kind of content the tree keeps, each well-formed one also
// broken by one rule of XML 1.0, and random one-byte mutations.
#pragma once

#include <random>
#include <string>
#include <vector>

struct GeneratedDocument {
    std::string bytes;
    std::string broken;  // the rule broken on purpose; "" for a well-formed or mutated one
};

GeneratedDocument wellFormedDocument(std::mt19937& random);

// Every rule-breaking variant of `document`.
std::vector<GeneratedDocument> brokenVariants(const std::string& document, std::mt19937& random);

// One byte replaced, inserted or deleted at random.
std::string mutatedByOneByte(std::string document, std::mt19937& random);
