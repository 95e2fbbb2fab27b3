#include "pair_files/save_journal.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "system/file_system.h"

namespace {

// The first line names the format; the last holds a hash of all lines
// before it, so a journal cut short or damaged is recognised as such.
const char FIRST_LINE[] = "Kalmia save journal 2";
// The journal of earlier versions, whose side files had fixed names.
const char FIRST_LINE_BEFORE[] = "Kalmia save journal 1";
const char FORMAT_NAME[] = "Kalmia save journal";
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
           (target.rewrittenInPlace ? " in-place " : " renamed ") + hexOf(target.newName) + " " +
           hexOf(target.oldName);
}

bool readName(std::istream& in, std::string& name) {
    std::string hex;
    const auto bytes = (in >> hex) ? bytesOf(hex) : std::nullopt;
    if (bytes) name = *bytes;
    return bytes.has_value();
}

// `sideLetters` for a journal of an earlier version: its side files had
// the first names SidePath gives.
bool readTarget(const std::string& line, const char* role, const char* sideLetters,
                const std::string& target, JournalTarget& record) {
    std::istringstream in(line);
    std::string word, mode;
    if (!(in >> word) || word != role || !readName(in, record.name) ||
        !readFingerprint(in, record.found) || !readFingerprint(in, record.written) ||
        !(in >> mode) || (mode != "in-place" && mode != "renamed"))
        return false;
    record.rewrittenInPlace = mode == "in-place";
    if (sideLetters) {
        record.newName = FileNameOf(SidePath(target, sideLetters[0]));
        record.oldName = FileNameOf(SidePath(target, sideLetters[1]));
        return true;
    }
    return readName(in, record.newName) && readName(in, record.oldName);
}

const char* directionName(SaveJournal::Direction direction) {
    switch (direction) {
        case SaveJournal::Direction::Preparing:
            return "preparing";
        case SaveJournal::Direction::Forward:
            return "forward";
        case SaveJournal::Direction::Back:
            return "back";
    }
    return "";
}

std::string hashLine(const std::string& text) {
    ContentHasher hasher;
    hasher.add(text.data(), text.size());
    return "check " + fingerprintText(hasher.fingerprint()) + "\n";
}

std::string journalText(const SaveJournal& journal) {
    std::string text = std::string(FIRST_LINE) + "\n";
    text += std::string(directionName(journal.direction)) + "\n";
    text += targetLine("grid", journal.grid) + "\n";
    text += targetLine("parameters", journal.parameters) + "\n";
    return text + hashLine(text);
}

}  // namespace

Result<void> WriteSaveJournal(const SaveFiles& files, const SaveJournal& journal,
                              const std::function<void()>& beforeRename) {
    Result<void> written = WriteWholeFile(files.journalDraft, journalText(journal));
    if (written && beforeRename) beforeRename();
    if (written) written = MoveFileOver(files.journalDraft, files.journal);
    if (!written) {
        RemoveFile(files.journalDraft);
        return written;
    }
    // Once renamed, the journal is in place: the flush only makes it last
    // through a power cut, and a journal lost with it leaves the old pair.
    static_cast<void>(FlushFolderOf(files.journal));
    return {};
}

std::optional<SaveJournal> ReadSaveJournal(const SaveFiles& files) {
    if (KindOfPath(files.journal) != PathKind::File) return std::nullopt;
    const Result<std::string> read = ReadWholeFile(files.journal, LARGEST_JOURNAL);
    if (!read) return std::nullopt;
    const std::string& text = read.value();
    const size_t lastLine = text.rfind("\ncheck ");
    if (lastLine == std::string::npos) return std::nullopt;
    const std::string body = text.substr(0, lastLine + 1);
    if (text.substr(lastLine + 1) != hashLine(body)) return std::nullopt;

    std::istringstream lines(body);
    std::string first, direction, gridLine, parameterLine;
    SaveJournal journal;
    if (!std::getline(lines, first) || (first != FIRST_LINE && first != FIRST_LINE_BEFORE) ||
        !std::getline(lines, direction) || !std::getline(lines, gridLine) ||
        !std::getline(lines, parameterLine))
        return std::nullopt;
    const bool before = first == FIRST_LINE_BEFORE;
    if (!readTarget(gridLine, "grid", before ? "gh" : nullptr, files.grid, journal.grid) ||
        !readTarget(parameterLine, "parameters", before ? "pq" : nullptr, files.parameters,
                    journal.parameters))
        return std::nullopt;
    using Direction = SaveJournal::Direction;
    bool known = false;
    for (Direction candidate : {Direction::Preparing, Direction::Forward, Direction::Back})
        if (direction == directionName(candidate)) journal.direction = candidate, known = true;
    if (!known) return std::nullopt;
    // A journal is only ever acted on for the pair it names.
    if (journal.grid.name != FileNameOf(files.grid) ||
        journal.parameters.name != FileNameOf(files.parameters))
        return std::nullopt;
    return journal;
}

void RemoveSaveJournal(const SaveFiles& files) {
    static_cast<void>(FlushFolderOf(files.journal));
    RemoveFile(files.journal);
    static_cast<void>(FlushFolderOf(files.journal));
}

bool IsLeftoverJournal(const std::string& path) {
    FILE* file = OpenForReading(path);
    if (!file) return false;
    char bytes[sizeof FORMAT_NAME - 1];
    const size_t count = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    return std::string(FORMAT_NAME).compare(0, count, bytes, count) == 0;
}
