#include "document/save_journal.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "system/file_output.h"

namespace {

// The first line names the format; the last holds a hash of all lines
// before it, so a journal cut short or damaged is recognised as such.
const char FIRST_LINE[] = "Kalmia save journal 1";
constexpr long long LARGEST_JOURNAL = 8192;

std::string hexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex.empty() ? "-" : hex;
}

std::optional<std::string> bytesOf(const std::string& hex) {
    if (hex == "-") return std::string();
    if (hex.size() % 2) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1) return std::nullopt;
        bytes += static_cast<char>(value);
    }
    return bytes;
}

std::string fingerprintText(const FileFingerprint& fingerprint) {
    if (!fingerprint.present) return "absent";
    char text[64];
    std::snprintf(text, sizeof text, "%" PRIu64 " %016" PRIx64, fingerprint.size, fingerprint.hash);
    return text;
}

bool readFingerprint(std::istream& in, FileFingerprint& fingerprint) {
    std::string size;
    if (!(in >> size)) return false;
    if (size == "absent") {
        fingerprint = {};
        return true;
    }
    std::string hash;
    if (!(in >> hash)) return false;
    fingerprint.present = true;
    return std::sscanf(size.c_str(), "%" SCNu64, &fingerprint.size) == 1 &&
           std::sscanf(hash.c_str(), "%" SCNx64, &fingerprint.hash) == 1;
}

std::string targetLine(const char* role, const JournalTarget& target) {
    return std::string(role) + " " + hexOf(target.name) + " " + fingerprintText(target.found) +
           " " + fingerprintText(target.written) +
           (target.rewrittenInPlace ? " in-place" : " renamed");
}

bool readTarget(const std::string& line, const char* role, JournalTarget& target) {
    std::istringstream in(line);
    std::string word, name, mode;
    if (!(in >> word) || word != role || !(in >> name)) return false;
    const auto bytes = bytesOf(name);
    if (!bytes || !readFingerprint(in, target.found) || !readFingerprint(in, target.written) ||
        !(in >> mode) || (mode != "in-place" && mode != "renamed"))
        return false;
    target.name = *bytes;
    target.rewrittenInPlace = mode == "in-place";
    return true;
}

std::string hashLine(const std::string& text) {
    ContentHasher hasher;
    hasher.add(text.data(), text.size());
    return "check " + fingerprintText(hasher.fingerprint()) + "\n";
}

std::string journalText(const SaveJournal& journal) {
    std::string text = std::string(FIRST_LINE) + "\n";
    text += journal.direction == SaveJournal::Direction::Forward ? "forward\n" : "back\n";
    text += targetLine("grid", journal.grid) + "\n";
    text += targetLine("parameters", journal.parameters) + "\n";
    return text + hashLine(text);
}

}  // namespace

bool WriteSaveJournal(const SaveFiles& files, const SaveJournal& journal,
                      const std::function<void()>& beforeRename) {
    const bool drafted = WriteWholeFile(files.journalDraft, journalText(journal));
    if (drafted && beforeRename) beforeRename();
    if (!drafted || !MoveFileOver(files.journalDraft, files.journal)) {
        RemoveFile(files.journalDraft);
        return false;
    }
    // Once renamed, the journal is in place: the flush only makes it last
    // through a power cut, and a journal lost with it leaves the old pair.
    FlushFolderOf(files.journal);
    return true;
}

std::optional<SaveJournal> ReadSaveJournal(const SaveFiles& files) {
    std::string text;
    if (KindOfPath(files.journal) != PathKind::File ||
        !ReadWholeFile(files.journal, LARGEST_JOURNAL, text))
        return std::nullopt;
    const size_t lastLine = text.rfind("\ncheck ");
    if (lastLine == std::string::npos) return std::nullopt;
    const std::string body = text.substr(0, lastLine + 1);
    if (text.substr(lastLine + 1) != hashLine(body)) return std::nullopt;

    std::istringstream lines(body);
    std::string first, direction, gridLine, parameterLine;
    SaveJournal journal;
    if (!std::getline(lines, first) || first != FIRST_LINE || !std::getline(lines, direction) ||
        (direction != "forward" && direction != "back") || !std::getline(lines, gridLine) ||
        !std::getline(lines, parameterLine) || !readTarget(gridLine, "grid", journal.grid) ||
        !readTarget(parameterLine, "parameters", journal.parameters))
        return std::nullopt;
    journal.direction =
        direction == "forward" ? SaveJournal::Direction::Forward : SaveJournal::Direction::Back;
    // A journal is only ever acted on for the pair it names.
    if (journal.grid.name != FileNameOf(files.grid) ||
        journal.parameters.name != FileNameOf(files.parameters))
        return std::nullopt;
    return journal;
}
