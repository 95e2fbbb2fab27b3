#include "cli/pair_messages.h"

#include "pair_files/failure_texts.h"

PairMessage MessageOf(const Failure& failure) {
    return {failure.file, failure.line, failure.column, FailureKindName(failure.kind),
            FailureEnglish(failure)};
}

std::string FormatPairMessage(const PairMessage& message, const char* severity) {
    std::string text = message.path;
    if (message.line > 0) {
        text += ":" + std::to_string(message.line);
        if (message.column > 0) text += ":" + std::to_string(message.column);
    }
    return text + ": " + severity + ": " + message.message;
}
