// kalmia-cli: checks, describes, draws, compares and rewrites map file pairs
// exactly as the editor reads and writes them, without a window.
#include <CLI/CLI.hpp>
#include <iostream>
#include <new>

#include "cli/cli_commands.h"
#include "cli/gallery.h"
#include "cli/git_commands.h"

int main(int argc, char** argv) {
    CLI::App app{
        "Checks, describes, draws, compares and rewrites Kalmia map file pairs.\n"
        "MAP is the path of a pair's .map file; its .xml file lies beside it."};
    app.set_version_flag("--version", std::string("kalmia-cli ") + KALMIA_VERSION);
    app.require_subcommand(1);

    bool json = false, strict = false;
    std::vector<std::string> maps;
    CLI::App* check = app.add_subcommand("check", "Exit 0 when the editor opens every MAP");
    check->add_flag("--json", json, "One JSON object per MAP on standard output");
    check->add_flag("--strict", strict, "Warnings fail the check too");
    check->add_option("MAP", maps, "Map files")->required();

    std::string map;
    CLI::App* info = app.add_subcommand("info", "Name, size, thresholds and set cells of MAP");
    info->add_flag("--json", json, "One JSON object");
    info->add_option("MAP", map, "Map file")->required();

    std::string png;
    int cellSize = 8;
    CLI::App* render = app.add_subcommand("render", "Draw MAP's grid as a PNG");
    render->add_option("MAP", map, "Map file")->required();
    render->add_option("-o,--output", png, "The PNG to write")->required();
    render->add_option("--cell", cellSize, "Pixels per cell")->check(CLI::Range(1, 64));

    std::string a, b;
    CLI::App* diff = app.add_subcommand("diff", "Exit 0 when A and B open to the same map");
    diff->add_flag("--json", json, "One JSON object");
    diff->add_option("--png", png, "Draw B with the changes marked");
    diff->add_option("--cell", cellSize, "Pixels per cell of the PNG")->check(CLI::Range(1, 64));
    diff->add_option("A", a, "First map file")->required();
    diff->add_option("B", b, "Second map file")->required();

    std::string in, out;
    CLI::App* convert = app.add_subcommand("convert", "Open IN and save it as OUT");
    convert->add_option("IN", in, "Map file to open")->required();
    convert->add_option("OUT", out, "Map file to write")->required();

    std::string base, current, other, mergedPath;
    CLI::App* merge = app.add_subcommand(
        "merge", "Merge three versions of a .map or .xml file into CURRENT (git: %O %A %B %P)");
    merge->add_option("BASE", base, "The common ancestor")->required();
    merge->add_option("CURRENT", current, "This side; takes the result")->required();
    merge->add_option("OTHER", other, "The other side")->required();
    merge->add_option("PATH", mergedPath, "The file's path in the repository");

    std::string file;
    CLI::App* textconv = app.add_subcommand("textconv", "A .map or .xml file as text for git diff");
    textconv->add_option("FILE", file, "The file")->required();

    std::vector<std::string> folders;
    std::string outFolder;
    CLI::App* gallery =
        app.add_subcommand("gallery", "A web page with a card for every .map under the folders");
    gallery->add_option("DIR", folders, "Folders searched for .map files")->required();
    gallery->add_option("-o,--output", outFolder, "The folder to write index.html into")
        ->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return app.exit(done);  // --help or --version
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return ExitCode(ExitStatus::NotAnswered);
    }
    try {
        if (*check) return ExitCode(RunCheck(maps, json, strict));
        if (*info) return ExitCode(RunInfo(map, json));
        if (*render) return ExitCode(RunRender(map, png, cellSize));
        if (*diff) return ExitCode(RunDiff(a, b, json, png, cellSize));
        if (*convert) return ExitCode(RunConvert(in, out));
        if (*merge) return ExitCode(RunMerge(base, current, other, mergedPath));
        if (*textconv) return ExitCode(RunTextconv(file));
        if (*gallery) return ExitCode(RunGallery(folders, outFolder));
    } catch (const std::bad_alloc&) {
        std::cerr << "kalmia-cli: error: not enough memory\n";
    }
    return ExitCode(ExitStatus::NotAnswered);
}
