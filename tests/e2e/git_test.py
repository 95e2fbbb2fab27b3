#!/usr/bin/env python3
"""kalmia-cli as git's merge driver and diff text converter, in a real repository.

Usage: git_test.py KALMIA_CLI
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from checks import check, finish  # noqa: E402


def git(repo, *args, ok=True):
    done = subprocess.run(["git", *args], cwd=repo, capture_output=True, timeout=120)
    if ok and done.returncode != 0:
        raise RuntimeError("git %s: %s" % (" ".join(args), done.stderr.decode()))
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def grid(width, height, cells=()):
    rows = [bytearray(b"0" * width) for _ in range(height)]
    for x, y in cells:
        rows[y][x] = ord("1")
    return b"".join(bytes(row) + b"\r\n" for row in rows)


def parameters(width, height, name=" ", rank1=999, rank2=999):
    return ("<?xml version='1.0' encoding='SHIFT_JIS'?><root><x>%d</x><y>%d</y><rank1>%d</rank1>"
            "<rank2>%d</rank2><rate1>100</rate1><rate2>100</rate2><name>" % (width, height, rank1, rank2)
            ).encode() + name.encode("cp932") + b"</name></root>"


def commit(repo, message, grid_bytes=None, xml_bytes=None):
    if grid_bytes is not None:
        open(os.path.join(repo, "stages", "a.map"), "wb").write(grid_bytes)
    if xml_bytes is not None:
        open(os.path.join(repo, "stages", "a.xml"), "wb").write(xml_bytes)
    git(repo, "add", "-A")
    git(repo, "commit", "-q", "-m", message)


def branches(repo, name, first, second):
    """Two branches from the current commit, one change each; back on the first."""
    base = git(repo, "rev-parse", "HEAD")[1].strip()
    git(repo, "checkout", "-q", "-b", name + "-one")
    commit(repo, "one", *first)
    git(repo, "checkout", "-q", "-b", name + "-two", base)
    commit(repo, "two", *second)
    git(repo, "checkout", "-q", name + "-one")
    return git(repo, "merge", "-q", "--no-edit", name + "-two", ok=False)


def read(repo, name):
    return open(os.path.join(repo, "stages", name), "rb").read()


def main(cli):
    environment_path = os.path.dirname(os.path.abspath(cli)) + os.pathsep + os.environ["PATH"]
    os.environ["PATH"] = environment_path  # "kalmia-cli" as the README's commands name it
    with tempfile.TemporaryDirectory() as repo:
        git(repo, "init", "-q", "-b", "main")
        git(repo, "config", "user.email", "tester@example.invalid")
        git(repo, "config", "user.name", "Tester")
        git(repo, "config", "merge.kalmia.driver", "kalmia-cli merge %O %A %B %P")
        git(repo, "config", "diff.kalmia.textconv", "kalmia-cli textconv")
        open(os.path.join(repo, ".gitattributes"), "w").write(
            "*.map merge=kalmia diff=kalmia\nstages/*.xml merge=kalmia diff=kalmia\n")
        os.mkdir(os.path.join(repo, "stages"))
        commit(repo, "base", grid(50, 50), parameters(50, 50))

        # Different cells, the name on one side and a threshold on the other.
        status, _, err = branches(repo, "clean",
                                  (grid(50, 50, [(1, 1)]), parameters(50, 50, "ステージ")),
                                  (grid(50, 50, [(40, 40)]), parameters(50, 50, " ", 500)))
        check(status == 0, "different cells, the name and a threshold merge cleanly: %s" % err)
        check(read(repo, "a.map") == grid(50, 50, [(1, 1), (40, 40)]), "both cells are set")
        check(read(repo, "a.xml") == parameters(50, 50, "ステージ", 500), "the name and rank1 merged")

        # Both sides rename the stage: a conflict that names the field.
        git(repo, "checkout", "-q", "main")
        status, out, err = branches(repo, "rename", (None, parameters(50, 50, "一")),
                                    (None, parameters(50, 50, "二")))
        check(status != 0 and "a.xml" in out + err, "two renames do not merge: %s" % (out + err))
        check("conflict: name was changed on both sides" in out + err, "the conflict names the field")
        merged = read(repo, "a.xml")
        check(merged == parameters(50, 50, "一") and b"<<<<<<<" not in merged,
              "the conflicted file holds the current side, no markers")
        git(repo, "merge", "--abort")

        # Thresholds each side keeps in order, but whose merge is not.
        git(repo, "checkout", "-q", "main")
        commit(repo, "thresholds", None, parameters(50, 50, " ", 100, 200))
        status, out, err = branches(repo, "order", (None, parameters(50, 50, " ", 150, 200)),
                                    (None, parameters(50, 50, " ", 100, 120)))
        check(status != 0 and "conflict: the merged rank2 120 is below rank1 150" in out + err,
              "a merge that breaks the ordering rule is a conflict: %s" % (out + err))
        git(repo, "merge", "--abort")

        # A resize on one side against a cell edit on the other.
        git(repo, "checkout", "-q", "main")
        status, _, err = branches(repo, "resize", (grid(60, 50), parameters(60, 50)),
                                  (grid(50, 50, [(2, 2)]), None))
        check(status == 0, "a resize against a cell edit merges: %s" % err)
        check(read(repo, "a.map") == grid(60, 50, [(2, 2)]) and read(repo, "a.xml") == parameters(60, 50),
              "the new shape holds the edited cell")

        # git diff through textconv: one changed cell is one short line; the name reads.
        git(repo, "checkout", "-q", "main")
        commit(repo, "one cell", grid(50, 50, [(30, 7)]), parameters(50, 50, "洞窟", 100, 200))
        _, diff, _ = git(repo, "diff", "HEAD~1", "HEAD")
        changed = [line for line in diff.splitlines() if line[:1] in "+-" and line[:3] not in ("+++", "---")]
        check(sorted(changed) == sorted(["-8:1 " + "0" * 50, "+8:1 " + "0" * 30 + "1" + "0" * 19,
                                         "-name: ", "+name: 洞窟"]),
              "git diff shows the changed cell's line and the name: %r" % changed)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
