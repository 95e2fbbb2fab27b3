#!/usr/bin/env python3
"""The gallery page of kalmia-cli in headless Chromium: cards and their statuses,
every thumbnail loaded, the search box, a Japanese name; and the same bytes twice.

Usage: gallery_test.py KALMIA_CLI (run by Debian's python3, which has python3-selenium)
"""
import os
import shutil
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "tests", "data")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from checks import check, finish  # noqa: E402


def stages(folder):
    """A refused pair, one with warnings, and two that open, one in a subfolder."""
    os.makedirs(os.path.join(folder, "caves"))
    for name in ("broken", "messy", "changed"):
        for extension in (".map", ".xml"):
            shutil.copy(os.path.join(DATA, "cli", name + extension), folder)
    for extension in (".map", ".xml"):
        shutil.copy(os.path.join(DATA, "pairs", "new_map" + extension),
                    os.path.join(folder, "caves", "deep" + extension))


def browser():
    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--no-first-run", "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--allow-file-access-from-files", "--window-size=1200,900"):
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main(cli):
    with tempfile.TemporaryDirectory() as work:
        folder, out = os.path.join(work, "stages"), os.path.join(work, "site")
        stages(folder)
        status = subprocess.run([cli, "gallery", folder, "-o", out], capture_output=True).returncode
        check(status == 1, "a refused pair: exit 1, the page written anyway (got %d)" % status)
        first = open(os.path.join(out, "index.html"), "rb").read()
        subprocess.run([cli, "gallery", folder, "-o", out], capture_output=True)
        check(open(os.path.join(out, "index.html"), "rb").read() == first, "the same input gives the same bytes")
        blocked = os.path.join(work, "blocked")
        open(blocked, "w").close()  # a file where the folder goes
        status = subprocess.run([cli, "gallery", folder, "-o", blocked], capture_output=True).returncode
        check(status == 2, "an OUTDIR that cannot be made: exit 2 (got %d)" % status)

        driver = browser()
        try:
            driver.get("file://" + os.path.join(out, "index.html"))
            cards = driver.find_elements(By.CSS_SELECTOR, ".card")
            found = {card.get_attribute("data-map"): card.get_attribute("data-status") for card in cards}
            check(found == {"broken.map": "error", "caves/deep.map": "ok", "changed.map": "ok",
                            "messy.map": "warning"}, "cards and statuses: %r" % found)
            check([card.get_attribute("data-map") for card in cards] ==
                  ["broken.map", "caves/deep.map", "changed.map", "messy.map"], "cards sorted by path")
            check("4 maps, 1 refused, 1 with warnings" in driver.find_element(By.ID, "summary").text,
                  "the summary line")
            images = driver.find_elements(By.CSS_SELECTOR, ".card img")
            loaded = driver.execute_script(
                "return [...document.images].every(i => i.complete && i.naturalWidth > 0)")
            check(len(images) == 3 and loaded, "every thumbnail loads (%d images)" % len(images))
            check("ステージ一" in driver.page_source, "a Japanese name shows as text")
            check("not well-formed XML" in cards[0].text, "a refused pair shows check's message")

            search = driver.find_element(By.ID, "search")
            for typed, wanted in (("caves/", ["caves/deep.map"]), ("ステージ", ["changed.map", "messy.map"]),
                                  ("", ["broken.map", "caves/deep.map", "changed.map", "messy.map"])):
                search.clear()
                search.send_keys(typed or " ")
                if not typed:
                    search.clear()
                    driver.execute_script("arguments[0].dispatchEvent(new Event('input'))", search)
                shown = [card.get_attribute("data-map") for card in cards if card.is_displayed()]
                check(shown == wanted, "search %r shows %r, not %r" % (typed, wanted, shown))
            driver.save_screenshot(os.path.join(ROOT, "build", "e2e", "gallery.png"))
        finally:
            driver.quit()
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
