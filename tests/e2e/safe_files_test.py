#!/usr/bin/env python3
"""kalmia-cli never loses a file, never hangs and stays within its memory bounds:
saves beside other pairs, killed, resumed over files replaced by hand, stale
locks of other users, permissions and links, FIFOs, full disks, folders it
cannot read and merges of large maps. Runs as root, with setpriv for other
users and small tmpfs mounts.
Usage: safe_files_test.py CLI SAVE_CHILD
"""
import os
import random
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from checks import check, finish  # noqa: E402

CLI, SAVE_CHILD = sys.argv[1], sys.argv[2]
# The steps of a save, as the save child reports them.
NEW_FILES_WRITTEN, PARAMETER_FILE_IN_PLACE = 3, 7
PARAMETERS = (b"<?xml version='1.0' encoding='SHIFT_JIS'?><root><x>%d</x><y>%d</y><rank1>1</rank1>"
              b"<rank2>2</rank2><rate1>2</rate1><rate2>1</rate2><name>%s</name></root>")


def run(*args, cwd=None, user=None, timeout=120):
    prefix = ["setpriv", "--reuid=%d" % user, "--regid=%d" % user, "--clear-groups"] if user else []
    done = subprocess.run(prefix + [CLI, *args], capture_output=True, cwd=cwd, timeout=timeout)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def peak_memory_mb(*args):
    """The command's exit status and its peak resident memory in MB, in a process of its own."""
    probe = ("import resource, subprocess, sys; s = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, "
             "stderr=subprocess.DEVNULL).returncode; print(s, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    status, kilobytes = subprocess.run([sys.executable, "-c", probe, CLI, *args], capture_output=True,
                                       text=True, timeout=600).stdout.split()
    return int(status), int(kilobytes) / 1024


def write_pair(base, width, height, name=b"p", rows=None):
    rows = rows or [b"0" * width] * height
    open(base + ".map", "wb").write(b"".join(row + b"\r\n" for row in rows))
    open(base + ".xml", "wb").write(PARAMETERS % (width, height, name))


def content(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))
            if os.path.isfile(os.path.join(folder, name))}


def stopped_save(map_path, step, user=None):
    """A save of the child's map over map_path, stopped before the given step."""
    prefix = ["setpriv", "--reuid=%d" % user, "--regid=%d" % user, "--clear-groups"] if user else []
    child = subprocess.Popen(prefix + [SAVE_CHILD, map_path, str(step)], stdout=subprocess.DEVNULL)
    for _ in range(600):
        state = open("/proc/%d/stat" % child.pid).read().rsplit(")", 1)[1].split()[0]
        if state == "T":
            return child
        time.sleep(0.05)
    raise RuntimeError("the save child never stopped")


def kill(child):
    child.send_signal(signal.SIGKILL)
    child.wait()


def mounted_tmpfs(folder, size):
    os.mkdir(folder)
    return subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%s" % size, "kalmia-test", folder],
                          capture_output=True).returncode == 0


def test_saves_touch_only_their_own_files(top):
    folder = os.path.join(top, "own")
    os.mkdir(folder)
    write_pair(os.path.join(folder, "source"), 3, 2)
    # A pair whose names look like a save's side files of stage.map.
    check(run("convert", "source.map", "stage.map~h", cwd=folder)[0] == 0, "a pair named stage.map~h")
    check(run("convert", "source.map", "stage.map~g", cwd=folder)[0] == 0, "a pair named stage.map~g")
    theirs = {name: data for name, data in content(folder).items() if name.startswith("stage.ma")}
    for _ in range(2):
        check(run("convert", "source.map", "stage.map", cwd=folder)[0] == 0, "a save beside them")
    check({name: content(folder).get(name) for name in theirs} == theirs,
          "saves of stage.map left the pairs stage.map~h and stage.map~g as they were")
    kill(stopped_save(os.path.join(folder, "stage.map"), NEW_FILES_WRITTEN))
    check(run("convert", "source.map", "stage.map", cwd=folder)[0] == 0, "a save after a killed one")
    check(sorted(content(folder)) == sorted(list(theirs) + ["source.map", "source.xml", "stage.map", "stage.xml"]),
          "the killed save's own files are gone, no one else's: %r" % sorted(content(folder)))

    os.mkdir(os.path.join(folder, "d"))
    status, _, err = run("convert", "source.map", "d/stage.xml", cwd=folder)
    check(status == 2 and os.listdir(os.path.join(folder, "d")) == [] and "own parameter file" in err,
          "a map path that is its own parameter file is refused, nothing written: %r" % err)


def test_one_set_of_side_files_however_the_path_is_written(top):
    # Deep enough that the absolute path of stage.map is 258 characters.
    folder = top
    while len(folder) < 258 - len("/stage.map") - 60:
        folder = os.path.join(folder, "f" * 50)
    folder = os.path.join(folder, "g" * (258 - len("/stage.map") - len(folder) - 1))
    os.makedirs(folder)
    write_pair(os.path.join(folder, "stage"), 4, 2, b"old")
    kill(stopped_save(os.path.join(folder, "stage.map"), PARAMETER_FILE_IN_PLACE))
    absolute = run("info", "--json", os.path.join(folder, "stage.map"))
    relative = run("info", "--json", "stage.map", cwd=folder)
    check(absolute == relative and '"name":"new"' in absolute[1],
          "an absolute and a relative read give the same new pair: %r, %r" % (absolute[:2], relative[:2]))
    check(run("convert", os.path.join(top, "own", "source.map"), "stage.map", cwd=folder)[0] == 0,
          "a relative save finishes the interrupted one")
    check(sorted(os.listdir(folder)) == ["stage.map", "stage.xml"], "no side file is left: %r" % os.listdir(folder))


def test_a_resumed_save_keeps_a_pair_replaced_by_hand(top):
    folder = os.path.join(top, "resumed")
    os.mkdir(folder)
    write_pair(os.path.join(folder, "stage"), 4, 2, b"old")
    write_pair(os.path.join(top, "hand"), 5, 3, b"hand")
    child = stopped_save(os.path.join(folder, "stage.map"), PARAMETER_FILE_IN_PLACE)
    for extension in (".map", ".xml"):  # as a checkout does: new files renamed into place
        shutil.copy(os.path.join(top, "hand" + extension), os.path.join(folder, "checkout.tmp"))
        os.rename(os.path.join(folder, "checkout.tmp"), os.path.join(folder, "stage" + extension))
    hand = {name: data for name, data in content(folder).items() if name in ("stage.map", "stage.xml")}
    child.send_signal(signal.SIGCONT)
    check(child.wait() != 0, "a save resumed over a pair replaced by hand fails")
    check(content(folder) == hand, "the hand-placed pair stays exactly, nothing of the save is left: %r"
          % sorted(content(folder)))


def test_a_stale_lock_of_another_user_blocks_no_one(top):
    folder = os.path.join(top, "shared")
    os.mkdir(folder)
    os.chmod(top, 0o755)
    os.chmod(folder, 0o777)
    write_pair(os.path.join(folder, "stage"), 4, 2)
    for name in ("stage.map", "stage.xml"):
        os.chmod(os.path.join(folder, name), 0o666)
    old_umask = os.umask(0o077)
    try:
        kill(stopped_save(os.path.join(folder, "stage.map"), 1, user=4001))  # the lock is taken
    finally:
        os.umask(old_umask)
    check("stage.xml~l" in os.listdir(folder), "the killed save left its lock file")
    status, _, err = run("convert", "stage.map", "stage.map", cwd=folder, user=4002, timeout=30)
    check(status == 0, "another user saves beside the stale lock: %r" % err)


def test_recovery_never_writes_through_a_kept_copy(top):
    """A user who may write the pair's files but not its folder: recovery cannot
    rename, and must not rewrite the grid file in place through the name that
    shares its file with the old grid kept aside."""
    folder = os.path.join(top, "read-only")
    os.mkdir(folder)
    write_pair(os.path.join(folder, "stage"), 4, 2, b"old")
    kill(stopped_save(os.path.join(folder, "stage.map"), PARAMETER_FILE_IN_PLACE))
    for name in os.listdir(folder):
        os.chmod(os.path.join(folder, name), 0o666)
    os.chmod(top, 0o755)
    os.chmod(folder, 0o555)
    before = content(folder)
    status = run("convert", os.path.join(top, "own", "source.map"), "stage.map", cwd=folder, user=4004)[0]
    os.chmod(folder, 0o755)
    check(status == 2 and content(folder) == before, "a save that cannot recover changes nothing")
    status, out, _ = run("info", "--json", "stage.map", cwd=folder)
    check(status == 0 and '"name":"new"' in out, "the interrupted save's new pair is still there: %r" % out)


def test_permissions_and_links_are_kept(top):
    folder = os.path.join(top, "kept")
    real = os.path.join(folder, "real")
    os.makedirs(real)
    write_pair(os.path.join(folder, "private"), 3, 2)
    for extension in (".map", ".xml"):
        os.chmod(os.path.join(folder, "private" + extension), 0o600)
    check(run("convert", "private.map", "private.map", cwd=folder)[0] == 0, "a save over a private pair")
    modes = [stat.S_IMODE(os.stat(os.path.join(folder, "private" + e)).st_mode) for e in (".map", ".xml")]
    check(modes == [0o600, 0o600], "the pair stays 0600: %r" % [oct(m) for m in modes])
    write_pair(os.path.join(real, "stage"), 3, 2, b"old")
    write_pair(os.path.join(top, "linked"), 6, 4, b"linked")
    os.symlink("real/stage.map", os.path.join(folder, "stage.map"))
    os.symlink("real/stage.xml", os.path.join(folder, "stage.xml"))
    check(run("convert", os.path.join(top, "linked.map"), "stage.map", cwd=folder)[0] == 0, "a save through links")
    check(all(os.path.islink(os.path.join(folder, "stage" + e)) for e in (".map", ".xml")), "the links stay links")
    check(open(os.path.join(real, "stage.map"), "rb").read() == open(os.path.join(top, "linked.map"), "rb").read()
          and b"linked" in open(os.path.join(real, "stage.xml"), "rb").read(), "the files the links name are saved")
    check(sorted(os.listdir(real)) == ["stage.map", "stage.xml"], "no side file beside the linked files")


def test_a_fifo_never_hangs_a_reader(top):
    folder = os.path.join(top, "fifo")
    os.mkdir(folder)
    write_pair(os.path.join(folder, "stage"), 3, 2)
    write_pair(os.path.join(folder, "other"), 3, 2)
    for name in ("stage.map", "other.xml"):  # where a grid file and a parameter file should be
        os.remove(os.path.join(folder, name))
        os.mkfifo(os.path.join(folder, name))
    for command in (["check", "stage.map"], ["check", "other.map"],
                    ["gallery", ".", "-o", os.path.join(top, "fifo-site")]):
        try:
            status = run(*command, cwd=folder, timeout=20)[0]
        except subprocess.TimeoutExpired:
            status = "hung"
        check(status == 1, "%s beside a FIFO: exit 1 at once, got %r" % (command[0], status))


def test_failed_writes_leave_the_old_file(top):
    small = os.path.join(top, "small")
    if not mounted_tmpfs(small, "256k"):
        check(False, "a tmpfs could not be mounted")
        return
    try:
        write_pair(os.path.join(top, "wide"), 100, 1000)
        base, other = os.path.join(top, "wide.map"), os.path.join(top, "wide-other.map")
        open(other, "wb").write(open(base, "rb").read() * 2)  # a new shape, twice as long
        current = os.path.join(small, "current.map")
        shutil.copy(base, current)
        before = open(current, "rb").read()
        open(os.path.join(small, "filler"), "wb").write(b"x" * (shutil.disk_usage(small).free - 50000))
        status, _, err = run("merge", base, current, other, "stage.map")
        check(status == 2 and open(current, "rb").read() == before and sorted(os.listdir(small)) == ["current.map", "filler"],
              "merge on a full disk: exit 2, CURRENT as it was, nothing beside it: %r %r" % (status, err))
        os.remove(os.path.join(small, "filler"))
        site = os.path.join(small, "site")
        os.makedirs(os.path.join(top, "gallery-in"))
        write_pair(os.path.join(top, "gallery-in", "one"), 40, 30)
        check(run("gallery", os.path.join(top, "gallery-in"), "-o", site)[0] == 0, "a first gallery")
        page = open(os.path.join(site, "index.html"), "rb").read()
        for number in range(60):
            write_pair(os.path.join(top, "gallery-in", "stage%02d" % number), 40, 30, b"x" * 2000)
        open(os.path.join(small, "filler"), "wb").write(b"x" * (shutil.disk_usage(small).free - 4096))
        status = run("gallery", os.path.join(top, "gallery-in"), "-o", site)[0]
        check(status == 2 and open(os.path.join(site, "index.html"), "rb").read() == page,
              "gallery on a full disk: exit 2, the old page as it was")
    finally:
        subprocess.run(["umount", small])


def test_gallery_folders_and_links(top):
    status, _, err = run("gallery", os.path.join(top, "no-such-folder"), "-o", os.path.join(top, "site1"))
    check(status == 2 and "no-such-folder" in err, "a missing folder: exit 2, named: %r" % err)
    folder = os.path.join(top, "closed")
    os.makedirs(os.path.join(folder, "inner"))
    write_pair(os.path.join(folder, "stage"), 3, 2)
    os.chmod(top, 0o755)
    os.chmod(folder, 0o755)
    os.chmod(os.path.join(folder, "inner"), 0o700)
    out = os.path.join(top, "site2")
    os.mkdir(out)
    os.chmod(out, 0o777)
    status, _, err = run("gallery", folder, "-o", out, user=4003)
    check(status == 2 and "inner" in err, "a subfolder it cannot read: exit 2, named: %r" % err)
    elsewhere = os.path.join(top, "elsewhere.html")
    open(elsewhere, "wb").write(b"keep")
    os.symlink(elsewhere, os.path.join(out, "index.html"))
    check(run("gallery", os.path.join(top, "own"), "-o", out)[0] == 0, "a gallery over a link")
    check(open(elsewhere, "rb").read() == b"keep" and not os.path.islink(os.path.join(out, "index.html")),
          "the gallery does not write through a link in OUTDIR")


def test_merge_results_and_bounds(top):
    folder = os.path.join(top, "merge")
    os.mkdir(folder)
    files = {}
    for name, data in (("base", b"\r1\n00\n"), ("current", b"\r1\n00\n"), ("other", b"\r")):
        files[name] = os.path.join(folder, name + ".map")
        open(files[name], "wb").write(data)
    status = run("merge", files["base"], files["current"], files["other"])[0]
    check(status == 0 and open(files["current"], "rb").read() == b"\r", "OTHER's new text is taken as it is")

    generator = random.Random(31)
    empty = os.path.join(folder, "empty.map")
    open(empty, "wb").write(b"")
    sides = []
    for name in ("mine", "theirs"):
        sides.append(os.path.join(folder, name + ".map"))
        open(sides[-1], "wb").write(b"".join(bytes(generator.choice(b"01") for _ in range(3000)) + b"\r\n"
                                             for _ in range(3000)))
    status, memory = peak_memory_mb("merge", empty, sides[0], sides[1], "x.map")
    check(status == 1 and memory <= 150, "merge of two 3000 x 3000 maps on an empty base: %.0f MB" % memory)
    feeds = os.path.join(folder, "feeds.map")
    open(feeds, "wb").write(b"\n" * 20000000)
    status, memory = peak_memory_mb("textconv", feeds)
    check(status == 0 and memory <= 100, "textconv of 20 MB of line feeds: %.0f MB" % memory)
    copies = [shutil.copy(feeds, os.path.join(folder, "feeds%d.map" % i)) for i in range(2)]
    status, memory = peak_memory_mb("merge", feeds, copies[0], copies[1])
    check(status == 0 and memory <= 250, "merge of them: %.0f MB" % memory)
    versions = []
    for number in range(3):
        versions.append(os.path.join(folder, "large%d.map" % number))
        rows = [b"0" * 10000 + b"\r\n"] * 10000
        rows[number * 10] = b"1" * 10000 + b"\r\n"
        open(versions[-1], "wb").write(b"".join(rows))
    status, _, err = run("merge", *versions)
    check(status == 0, "a merge of three 10000 x 10000 versions: %r" % err[-200:])


def test_render_too_large(top):
    write_pair(os.path.join(top, "long"), 20000, 1)
    status, _, err = run("render", os.path.join(top, "long.map"), "-o", os.path.join(top, "long.png"), "--cell", "64")
    check(status == 2 and "1280000 x 64 pixels" in err and "IHDR" not in err, "render too large: %r" % err)


def main():
    top = tempfile.mkdtemp()
    try:
        for test in (test_saves_touch_only_their_own_files, test_one_set_of_side_files_however_the_path_is_written,
                     test_a_resumed_save_keeps_a_pair_replaced_by_hand, test_a_stale_lock_of_another_user_blocks_no_one,
                     test_recovery_never_writes_through_a_kept_copy, test_permissions_and_links_are_kept, test_a_fifo_never_hangs_a_reader,
                     test_failed_writes_leave_the_old_file, test_gallery_folders_and_links,
                     test_merge_results_and_bounds, test_render_too_large):
            print("--", test.__name__)
            test(top)
    finally:
        shutil.rmtree(top, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())
