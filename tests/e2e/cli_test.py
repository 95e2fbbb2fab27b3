#!/usr/bin/env python3
"""End-to-end checks of the built kalmia-cli, run as a user runs it.

PNG files are decoded here with zlib and the PNG chunk layout, and grid files
are read here by the text-mode rules, so nothing of the tool checks itself.
Usage: cli_test.py NATIVE_CLI [WINDOWS_CLI_EXE]
"""
import json
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "tests", "data")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from checks import check, finish  # noqa: E402


def run(cli, *args, cwd=None):
    done = subprocess.run([*cli, *args], capture_output=True, cwd=cwd, timeout=120)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def decode_png(path):
    """(width, height, rows of pixels) of a 1-bit gray PNG (pixels 0 or 1), or of an
    8-bit RGB or 1- to 8-bit palette PNG (pixels as RGB tuples)."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    at, idat, header, palette = 8, b"", None, []
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        assert zlib.crc32(kind + body) == struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, color = header[:4]
    channels = 3 if color == 2 else 1
    stride = (width * channels * depth + 7) // 8
    step = max(1, channels * depth // 8)
    raw, rows, previous = zlib.decompress(idat), [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up, corner = previous[i], previous[i - step] if i >= step else 0
            if kind == 1: line[i] = (line[i] + left) & 255
            elif kind == 2: line[i] = (line[i] + up) & 255
            elif kind == 3: line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        previous = line
        if channels == 3:
            rows.append([tuple(line[x * 3:x * 3 + 3]) for x in range(width)])
        else:
            per_byte = 8 // depth
            samples = [(line[x // per_byte] >> (8 - depth * (x % per_byte + 1))) & ((1 << depth) - 1)
                       for x in range(width)]
            rows.append([palette[v] for v in samples] if color == 3 else samples)
    return width, height, rows


def editor_rows(map_path, width, height):
    """The cells as the editor reads them: text mode, width characters a row, one skipped."""
    text = open(map_path, "rb").read().split(b"\x1a")[0].replace(b"\r\n", b"\n")
    rows, at = [], 0
    for _ in range(height):
        rows.append([1 if text[at + i:at + i + 1] == b"1" else 0 for i in range(width)])
        at += width + 1
    return rows


def copy_pairs(folder):
    for name in os.listdir(os.path.join(DATA, "cli")) + ["new_map.map", "new_map.xml"]:
        source = os.path.join(DATA, "cli" if not name.startswith("new_map") else "pairs", name)
        shutil.copy(source, folder)


def test_native(cli, folder):
    status, out, err = run(cli, "check", "new_map.map", cwd=folder)
    check(status == 0 and out == "" and err == "", "check of a pair the editor saved passes silently")
    status, out, err = run(cli, "check", "broken.map", cwd=folder)
    check(status == 1 and re.fullmatch(r"broken\.xml:1:\d+: error: not well-formed XML: .*\n", err),
          "a refused pair: exit 1 and PATH:LINE:COLUMN: error: REASON, got %r" % err)
    status, out, err = run(cli, "check", "messy.map", cwd=folder)
    check(status == 0, "warnings alone pass the check")
    for expected in [r"messy\.map:2:3: warning: a character other than 0 and 1",
                     r"messy\.map:2: warning: the line has 4 cells, the map is 5 wide",
                     r"messy\.map: warning: the file has 4 lines, the map is 3 high",
                     r"messy\.xml: warning: rank2 10 is below rank1"]:
        check(re.search(expected, err), "check warns: " + expected)
    status, out, _ = run(cli, "check", "--strict", "--json", "messy.map", "new_map.map", "missing.map", cwd=folder)
    objects = [json.loads(line) for line in out.splitlines()]
    check(status == 1 and [o["ok"] for o in objects] == [False, True, False], "--strict --json: one object a MAP")
    check(objects[2]["errors"][0]["kind"] == "file-unreadable" and {"line", "column", "kind", "message"}
          <= set(objects[0]["warnings"][0]), "JSON messages carry line, column, kind and message")

    status, out, _ = run(cli, "info", "--json", "messy.map", cwd=folder)
    info = json.loads(out)
    expected_set = sum(map(sum, editor_rows(os.path.join(folder, "messy.map"), 5, 3)))
    check(status == 0 and info == {"name": "ステージ一", "width": 5, "height": 3, "rank1": 20, "rank2": 999,
                                   "rate1": 80, "rate2": 50, "set_cells": expected_set},
          "info --json holds the map as the editor opens it: %r" % info)
    status, out, _ = run(cli, "info", "messy.map", cwd=folder)
    check(out.splitlines()[0] == "name: ステージ一" and "set_cells: %d" % expected_set in out, "plain info")

    status, _, _ = run(cli, "render", "messy.map", "-o", "messy.png", "--cell", "3", cwd=folder)
    width, height, pixels = decode_png(os.path.join(folder, "messy.png"))
    cells = editor_rows(os.path.join(folder, "messy.map"), 5, 3)
    check(status == 0 and (width, height) == (15, 9), "render: 3 pixels a cell, nothing around")
    check(all(pixels[y][x] == 1 - cells[y // 3][x // 3] for y in range(9) for x in range(15)),
          "render: set cells black, clear cells white")
    first = open(os.path.join(folder, "messy.png"), "rb").read()
    run(cli, "render", "messy.map", "-o", "messy.png", "--cell", "3", cwd=folder)
    check(open(os.path.join(folder, "messy.png"), "rb").read() == first, "render gives the same bytes each run")
    status, _, err = run(cli, "render", "messy.map", "-o", "x.png", "--cell", "65", cwd=folder)
    check(status == 2, "--cell beyond 64 is a usage error")

    status, out, _ = run(cli, "diff", "--json", "--png", "diff.png", "--cell", "1", "messy.map", "changed.map", cwd=folder)
    difference = json.loads(out)
    a, b = cells, editor_rows(os.path.join(folder, "changed.map"), 6, 3)
    only_a = sum(1 for y in range(3) for x in range(5) if a[y][x] and not b[y][x])
    only_b = sum(1 for y in range(3) for x in range(6) if b[y][x] and (x >= 5 or not a[y][x]))
    check(status == 1 and not difference["same"] and difference["set_only_in_a"] == only_a
          and difference["set_only_in_b"] == only_b and difference["parameters"]["width"] == {"a": 5, "b": 6}
          and difference["parameters"]["rank2"] == {"a": 999, "b": 30}, "diff --json: %r" % difference)
    _, _, pixels = decode_png(os.path.join(folder, "diff.png"))
    for y in range(3):
        for x in range(6):
            in_a = x < 5 and a[y][x]
            want = (0, 192, 0) if b[y][x] and not in_a else (224, 0, 0) if in_a and not b[y][x] else \
                (128, 128, 128) if x >= 5 else (0, 0, 0) if b[y][x] else (255, 255, 255)
            check(pixels[y][x] == want, "diff PNG at %d,%d" % (x, y))
    status, out, _ = run(cli, "diff", "new_map.map", "new_map.map", cwd=folder)
    check(status == 0 and "same: yes" in out, "diff of a pair with itself")

    status, _, _ = run(cli, "convert", "new_map.map", "again.map", cwd=folder)
    check(status == 0 and open(os.path.join(folder, "again.map"), "rb").read()
          == open(os.path.join(DATA, "pairs", "new_map.map"), "rb").read()
          and open(os.path.join(folder, "again.xml"), "rb").read()
          == open(os.path.join(DATA, "pairs", "new_map.xml"), "rb").read(),
          "convert of a pair the editor saved writes the same bytes")
    status, _, err = run(cli, "convert", "messy.map", os.path.join(folder, "no", "such", "out.map"), cwd=folder)
    check(status == 2 and "error: cannot write" in err, "convert to a missing folder: exit 2 with the reason")
    os.mkdir(os.path.join(folder, "taken.map"))
    status, _, err = run(cli, "convert", "messy.map", "taken.map", cwd=folder)
    check(status == 2 and err.endswith(": Is a directory\n"),
          "convert onto a folder names that reason, not a cleanup's: %r" % err)
    status, _, _ = run(cli, "convert", "broken.map", "out.map", cwd=folder)
    check(status == 1, "convert of a refused pair: exit 1")
    check(run(cli, "--version")[0] == 0 and run(cli, "--help")[0] == 0 and run(cli, "frobnicate")[0] == 2,
          "--version and --help exit 0, a usage error 2")


def messy_grid(generator, width, height):
    """A grid file with everything the text-mode rules meet: LF and CR LF, lone CRs,
    other characters, short and long lines, missing or extra lines, a Ctrl-Z."""
    lines = []
    for _ in range(height + generator.choice([-2, 0, 0, 3])):
        length = width + generator.choice([0, 0, 0, -3, 5, -width])
        lines.append(bytes(generator.choice(b"0001111\r2") for _ in range(max(length, 0))))
    text = b"".join(line + generator.choice([b"\r\n", b"\n"]) for line in lines)
    if generator.random() < 0.3:
        text = text[:len(text) // 2] + b"\x1a" + text[len(text) // 2:]
    return text


def test_one_pass_reads_as_the_editor(cli, folder):
    """info, render and diff read each grid file once without building the grid: their
    cells must be the editor's, by the independent reading of editor_rows."""
    import random
    generator = random.Random(37)
    for case in range(12):
        width, height = generator.choice([(1, 1), (7, 5), (64, 3), (130, 20), (300, 2)])
        paths = []
        for side in "ab":
            base = os.path.join(folder, "pass%d%s" % (case, side))
            open(base + ".map", "wb").write(messy_grid(generator, width, height))
            open(base + ".xml", "wb").write(b"<root><x>%d</x><y>%d</y><rank1>1</rank1><rank2>2</rank2>"
                                            b"<rate1>2</rate1><rate2>1</rate2><name>p</name></root>" % (width, height))
            paths.append(base + ".map")
        a, b = (editor_rows(path, width, height) for path in paths)
        status, out, _ = run(cli, "info", "--json", paths[0])
        check(status == 0 and json.loads(out)["set_cells"] == sum(map(sum, a)), "info's set cells, case %d" % case)
        status, _, _ = run(cli, "render", paths[0], "-o", os.path.join(folder, "pass.png"), "--cell", "1")
        _, _, pixels = decode_png(os.path.join(folder, "pass.png"))
        check(status == 0 and pixels == [[1 - cell for cell in row] for row in a], "render's cells, case %d" % case)
        status, out, _ = run(cli, "diff", "--json", "--png", os.path.join(folder, "pass.png"), "--cell", "1", *paths)
        only_a = sum(x and not y for ra, rb in zip(a, b) for x, y in zip(ra, rb))
        only_b = sum(y and not x for ra, rb in zip(a, b) for x, y in zip(ra, rb))
        report = json.loads(out)
        check((report["set_only_in_a"], report["set_only_in_b"]) == (only_a, only_b), "diff's counts, case %d" % case)
        _, _, pixels = decode_png(os.path.join(folder, "pass.png"))
        colors = {(1, 1): (0, 0, 0), (0, 0): (255, 255, 255), (1, 0): (224, 0, 0), (0, 1): (0, 192, 0)}
        check(pixels == [[colors[x, y] for x, y in zip(ra, rb)] for ra, rb in zip(a, b)],
              "diff's two-bit picture, case %d" % case)


SAVE_CHILD = os.path.join(ROOT, "build", "native", "tests", "kalmia_save_child")
PARAMETER_FILE_IN_PLACE = 7  # SaveStep: the new parameter file is in place, the grid file not yet


def folder_content(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


def kill_a_save_between_the_replacements(map_path):
    """Leaves a save's journal with the new parameter file in place and the old grid file."""
    child = subprocess.Popen([SAVE_CHILD, map_path, str(PARAMETER_FILE_IN_PLACE)], stdout=subprocess.DEVNULL)
    for _ in range(600):
        state = open("/proc/%d/stat" % child.pid).read().rsplit(")", 1)[1].split()[0]
        if state == "T":
            break
        time.sleep(0.05)
    child.send_signal(signal.SIGKILL)
    child.wait()


def test_reads_beside_an_interrupted_save(cli, folder):
    """check and info as a user who cannot write the folder answer as on a writable copy,
    judge the files the read took, and never undo a later edit."""
    base = tempfile.mkdtemp()  # beside the test's own folder, which only root may enter
    try:
        reads_as_another_user(cli, folder, base)
    finally:
        os.chmod(os.path.join(base, "read-only"), 0o755)
        shutil.rmtree(base)


def reads_as_another_user(cli, folder, base):
    os.chmod(base, 0o755)
    tool = os.path.join(base, "kalmia-cli")
    shutil.copy(cli[0], tool)
    writable, read_only = os.path.join(base, "writable"), os.path.join(base, "read-only")
    os.mkdir(writable)
    for suffix in (".map", ".xml"):  # an old pair with warnings; the new one has none
        shutil.copy(os.path.join(folder, "messy" + suffix), os.path.join(writable, "stage" + suffix))
    kill_a_save_between_the_replacements(os.path.join(writable, "stage.map"))
    shutil.copytree(writable, read_only)
    for name in os.listdir(read_only):
        os.chmod(os.path.join(read_only, name), 0o644)
    os.chmod(read_only, 0o555)

    def answers(where, user):
        prefix = ["runuser", "-u", "nobody", "--"] if user == "nobody" else []
        return [run(prefix + [tool], command, "--json", "stage.map", cwd=where)[:2] for command in ("check", "info")]
    before = folder_content(writable), folder_content(read_only)
    on_the_copy, as_nobody = answers(writable, "root"), answers(read_only, "nobody")
    check(as_nobody == on_the_copy, "check and info in a read-only folder: %r, on a copy: %r" % (as_nobody, on_the_copy))
    info = json.loads(as_nobody[1][1] or "{}")
    check(info.get("name") == "new" and (info.get("width"), info.get("height")) == (1000, 999),
          "the reads take the interrupted save's new pair: %r" % info)
    check(json.loads(as_nobody[0][1] or "{}").get("warnings") == [],
          "check judges the grid file the read took, not the old one beside it")
    check((folder_content(writable), folder_content(read_only)) == before, "the reads changed no file")

    xml = os.path.join(read_only, "stage.xml")
    with open(xml, "r+b") as edited:  # an edit in place, as some editors save
        text = edited.read().replace(b"<name>new</name>", b"<name>edited</name>")
        edited.seek(0)
        edited.write(text)
        edited.truncate()
    for _ in range(2):
        status, out = answers(read_only, "nobody")[1]
        check(status == 0 and json.loads(out)["name"] == "edited", "a later edit in place stays: %r" % out)


def test_readers_beside_a_saver(cli, folder):
    """Two readers and a saver at once: every read is one whole pair, none fails."""
    busy = os.path.join(folder, "busy")
    os.mkdir(busy)
    for name, source in (("a", "new_map"), ("b", "messy")):
        run(cli, "convert", os.path.join(folder, source + ".map"), os.path.join(busy, name + ".map"))
    run(cli, "convert", os.path.join(busy, "a.map"), os.path.join(busy, "stage.map"))
    wanted = {run(cli, "info", "--json", os.path.join(busy, name + ".map"))[1] for name in "ab"}
    saving, reads, failed_saves = True, [], []

    def reader():
        while saving:
            reads.append(run(cli, "info", "--json", "stage.map", cwd=busy)[:2])
    readers = [threading.Thread(target=reader) for _ in range(2)]
    for thread in readers:
        thread.start()
    for round in range(40):
        status, _, err = run(cli, "convert", "ab"[round % 2] + ".map", "stage.map", cwd=busy)
        if status != 0:
            failed_saves.append(err)
    saving = False
    for thread in readers:
        thread.join()
    odd = [read for read in reads if read[0] != 0 or read[1] not in wanted]
    check(len(reads) > 10 and not odd and not failed_saves,
          "%d reads beside 40 saves: %d not one whole pair %r, failed saves %r" % (len(reads), len(odd), odd[:2], failed_saves))
    check(sorted(os.listdir(busy)) == ["a.map", "a.xml", "b.map", "b.xml", "stage.map", "stage.xml"],
          "nothing of the saves is left: %r" % sorted(os.listdir(busy)))


def test_gallery_thumbnail(cli, folder):
    """A map wider than 512 cells: one pixel per square of cells, dark where any is set."""
    import random
    generator = random.Random(26)
    width, height = 1030, 7
    rows = [[1 if generator.random() < 0.004 else 0 for _ in range(width)] for _ in range(height)]
    wide = os.path.join(folder, "wide")
    os.mkdir(wide)
    open(os.path.join(wide, "w.map"), "wb").write(b"".join(bytes(48 + c for c in row) + b"\r\n" for row in rows))
    open(os.path.join(wide, "w.xml"), "wb").write(
        b"<root><x>%d</x><y>%d</y><rank1>1</rank1><rank2>2</rank2><rate1>2</rate1><rate2>1</rate2><name>w</name></root>"
        % (width, height))
    status, _, _ = run(cli, "gallery", wide, "-o", os.path.join(folder, "wide-site"))
    png_width, png_height, pixels = decode_png(os.path.join(folder, "wide-site", "thumbnails", "0001.png"))
    k = -(-width // 512)  # cells a pixel
    check(status == 0 and (png_width, png_height) == (-(-width // k), -(-height // k)), "thumbnail size")
    check(all(pixels[py][px] == (0 if any(rows[y][x] for y in range(py * k, min(py * k + k, height))
                                         for x in range(px * k, min(px * k + k, width))) else 1)
              for py in range(png_height) for px in range(png_width)),
          "a thumbnail pixel is dark exactly where a cell it covers is set")


def test_windows(native, exe, folder):
    wine = ["timeout", "120", "wine", exe]
    environment = dict(os.environ)
    environment.pop("DISPLAY", None)  # the console tool needs no display
    def run_wine(*args):
        done = subprocess.run([*wine, *args], capture_output=True, cwd=folder, env=environment, timeout=150)
        return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")
    status, _, err = run_wine("check", "messy.map")
    check(status == 0 and "messy.map:2:3: warning:" in err, "the Windows build checks under Wine")
    status, out, _ = run_wine("info", "--json", "messy.map")
    check(status == 0 and json.loads(out)["name"] == "ステージ一", "the Windows build's info --json")
    status, _, _ = run_wine("convert", "messy.map", "windows.map")
    run(native, "convert", "messy.map", "linux.map", cwd=folder)
    check(status == 0 and all(open(os.path.join(folder, "windows" + e), "rb").read()
                              == open(os.path.join(folder, "linux" + e), "rb").read() for e in (".map", ".xml")),
          "the Windows build converts to the same bytes")
    status, out, _ = run_wine("textconv", "messy.xml")
    check(status == 0 and "name: ステージ一" in out.decode("utf-8", "replace"),
          "the Windows build's textconv writes the name in UTF-8")
    os.mkdir(os.path.join(folder, "gallery-input"))
    for name in ("messy", "changed"):
        for extension in (".map", ".xml"):
            shutil.copy(os.path.join(folder, name + extension), os.path.join(folder, "gallery-input"))
    run_wine("gallery", "gallery-input", "-o", "windows-site")
    run(native, "gallery", "gallery-input", "-o", "linux-site", cwd=folder)
    check(all(open(os.path.join(folder, site, "index.html"), "rb").read() != b"" for site in ("windows-site", "linux-site"))
          and open(os.path.join(folder, "windows-site", "index.html"), "rb").read()
          == open(os.path.join(folder, "linux-site", "index.html"), "rb").read(),
          "the Windows build's gallery page is the same bytes")


def main():
    with tempfile.TemporaryDirectory() as folder:
        copy_pairs(folder)
        test_native([sys.argv[1]], folder)
        test_one_pass_reads_as_the_editor([sys.argv[1]], folder)
        test_reads_beside_an_interrupted_save([sys.argv[1]], folder)
        test_readers_beside_a_saver([sys.argv[1]], folder)
        test_gallery_thumbnail([sys.argv[1]], folder)
        if len(sys.argv) > 2:
            test_windows([sys.argv[1]], sys.argv[2], folder)
    return finish()


if __name__ == "__main__":
    sys.exit(main())
