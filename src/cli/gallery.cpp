#include "cli/gallery.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/console_text.h"
#include "cli/map_pictures.h"
#include "cli/pair_check.h"
#include "cli/text_printer.h"
#include "system/file_system.h"
#include "system/folder_listing.h"

namespace {

constexpr int THUMBNAIL_SIDE = 512;

struct Card {
    std::string shownPath;  // relative to its folder, "/" between names, UTF-8
    std::string status;     // ok, warning or error
    std::string name;       // UTF-8
    std::string thumbnail;  // relative to OUTDIR; empty without a picture
    std::pair<int, int> thumbnailSize{0, 0};
    MapParameters parameters;  // as the editor holds them
    long long setCells = 0;
    std::vector<std::string> messages;
};

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The map is read once, as check reads it, and its thumbnail drawn from the
// rows as they are read: no map is ever held whole.
bool makeCard(const std::string& folder, const std::string& relative, int number,
              const std::string& outFolder, Card& card) {
    const std::string path = folder + "/" + relative;
    char name[32];
    std::snprintf(name, sizeof name, "thumbnails/%04d.png", number);
    const std::string thumbnailPath = outFolder + "/" + name;
    Thumbnail made;
    Result<void> drawn;
    bool drawnAtAll = false;
    const PairCheck check =
        CheckPair(path, [&](const MapParameters& opened, const CellRowSource& nextRow) {
            card.parameters = opened;
            drawnAtAll = opened.x > 0;
            if (drawnAtAll)
                drawn = RenderThumbnailPng(opened.x, opened.y, THUMBNAIL_SIDE, thumbnailPath,
                                           nextRow, made);
        });
    card.shownPath = PathAsUtf8(relative);
    card.status = !check.errors.empty() ? "error" : !check.warnings.empty() ? "warning" : "ok";
    for (const auto* list : {&check.errors, &check.warnings})
        for (const PairMessage& message : *list)
            card.messages.push_back(PathAsUtf8(
                FormatPairMessage(message, list == &check.errors ? "error" : "warning")));
    if (!check.errors.empty()) {
        if (drawnAtAll && drawn) RemoveFile(thumbnailPath);  // of a pair refused after all
        return true;
    }
    card.name = Utf8FromAnsi(card.parameters.name);
    if (drawnAtAll) {
        if (!drawn) {
            PrintFailure(drawn.failure());
            return false;
        }
        card.thumbnail = name;
        card.thumbnailSize = {made.width, made.height};
        card.setCells = made.setCells;
    }
    return true;
}

const char STYLE[] = R"(body{font-family:sans-serif;margin:1.5em;background:#f4f4f4;color:#222}
h1{font-size:1.4em}#summary{margin:.3em 0 1em}
input[type=search]{font-size:1em;padding:.3em;width:20em;margin-bottom:1em}
#cards{display:flex;flex-wrap:wrap;gap:1em;align-items:flex-start}
.card{background:#fff;border:1px solid #ccc;border-radius:6px;padding:.8em;width:300px}
.card[data-status=warning]{border-color:#d9a400}.card[data-status=error]{border-color:#c33}
.card img{display:block;max-width:100%;height:auto;image-rendering:pixelated;border:1px solid #888;margin-bottom:.5em}
.card h2{font-size:1.1em;margin:0 0 .2em}.path{font-family:monospace;color:#555;margin:0 0 .4em;word-break:break-all}
dl{display:grid;grid-template-columns:auto 1fr;gap:0 .8em;margin:0}dt{color:#666}dd{margin:0}
.messages{font-family:monospace;font-size:.85em;padding-left:1.2em;color:#933;word-break:break-all}
)";

const char SCRIPT[] = R"(const search=document.getElementById('search');
search.addEventListener('input',()=>{const wanted=search.value.trim().toLowerCase();
for(const card of document.querySelectorAll('.card')){
const text=(card.dataset.name+' '+card.dataset.map).toLowerCase();
card.hidden=wanted!==''&&!text.includes(wanted);}});
)";

void writeCard(std::ostream& page, const Card& card) {
    page << "<article class=\"card\" data-map=\"" << escaped(card.shownPath) << "\" data-status=\""
         << card.status << "\" data-name=\"" << escaped(card.name) << "\">\n";
    if (!card.thumbnail.empty())
        page << "<img src=\"" << card.thumbnail << "\" width=\"" << card.thumbnailSize.first
             << "\" height=\"" << card.thumbnailSize.second << "\" alt=\""
             << escaped(card.name.empty() ? card.shownPath : card.name) << "\">\n";
    page << "<h2>" << escaped(card.name) << "</h2>\n<p class=\"path\">" << escaped(card.shownPath)
         << "</p>\n";
    if (card.status != "error") {
        const MapParameters& shown = card.parameters;
        page << "<dl><dt>size</dt><dd>" << shown.x << " &times; " << shown.y
             << "</dd><dt>rank1</dt><dd>" << shown.rank1 << "</dd><dt>rank2</dt><dd>" << shown.rank2
             << "</dd><dt>rate1</dt><dd>" << shown.rate1 << "</dd><dt>rate2</dt><dd>" << shown.rate2
             << "</dd><dt>set cells</dt><dd>" << card.setCells << "</dd></dl>\n";
    }
    if (!card.messages.empty()) {
        page << "<ul class=\"messages\">\n";
        for (const std::string& message : card.messages)
            page << "<li>" << escaped(message) << "</li>\n";
        page << "</ul>\n";
    }
    page << "</article>\n";
}

std::string pageOf(const std::vector<Card>& cards) {
    int refused = 0, warned = 0;
    for (const Card& card : cards) {
        refused += card.status == "error";
        warned += card.status == "warning";
    }
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>Kalmia stages</title>\n<style>\n"
         << STYLE << "</style>\n</head>\n<body>\n"
         << "<h1>Kalmia stages</h1>\n<p id=\"summary\">" << cards.size() << " maps, " << refused
         << " refused, " << warned << " with warnings</p>\n"
         << "<input type=\"search\" id=\"search\" placeholder=\"name or path\" "
            "aria-label=\"Filter by name or path\">\n<div id=\"cards\">\n";
    for (const Card& card : cards) writeCard(page, card);
    page << "</div>\n<script>\n" << SCRIPT << "</script>\n</body>\n</html>\n";
    return page.str();
}

}  // namespace

// Every folder is read whole before anything is written: a folder that is
// missing or cannot be read, at the top or below, is named and ends the run.
ExitStatus RunGallery(const std::vector<std::string>& folders, const std::string& outFolder) {
    std::vector<std::pair<std::string, std::string>> pairs;  // folder, relative path
    for (const std::string& folder : folders) {
        std::vector<std::string> found;
        std::string unreadable;
        if (!FindFilesBelow(folder, ".map", found, unreadable)) {
            PrintFailure(SystemFailure(FailureKind::FileUnreadable, unreadable));
            return ExitStatus::NotAnswered;
        }
        for (const std::string& relative : found) pairs.emplace_back(folder, relative);
    }
    if (!MakeFolders(outFolder + "/thumbnails")) {
        PrintFailure(SystemFailure(FailureKind::WriteFailed, outFolder));
        return ExitStatus::NotAnswered;
    }
    std::vector<Card> cards(pairs.size());
    bool anyRefused = false;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (!makeCard(pairs[i].first, pairs[i].second, static_cast<int>(i + 1), outFolder,
                      cards[i]))
            return ExitStatus::NotAnswered;
        anyRefused = anyRefused || cards[i].status == "error";
    }
    const std::string page = outFolder + "/index.html";
    const std::string text = pageOf(cards);
    const Result<void> written = ReplaceFileWith(
        page,
        [&](FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); },
        Durability::Written);
    if (!written) {
        PrintFailure(written.failure());
        return ExitStatus::NotAnswered;
    }
    return anyRefused ? ExitStatus::No : ExitStatus::Yes;
}
