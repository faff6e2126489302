"""The translated help against the English one: every page translated, every link, anchor,
picture and style sheet still where the English page has it, and the menu commands the Czech
pages name spelled as the Czech menus show them."""

import pathlib
import re
import unittest
import xml.etree.ElementTree as ElementTree

ROOT = pathlib.Path(__file__).resolve().parents[2]
HELP = ROOT / "resources" / "help"
GLOSSARY = ROOT / "translations" / "GLOSSARY.md"
MENU_ARROW = "\u203a"
SHAPE = ("h1", "h2", "h3", "table", "tr", "ul", "ol", "li", "pre")


def languages():
    return sorted(p for p in HELP.iterdir() if p.is_dir())


def read_page(path):
    root = ElementTree.parse(path).getroot()
    return {
        "title": (root.findtext("head/title") or "").strip(),
        "lang": root.get("lang"),
        "links": [a.get("href") for a in root.iter("a") if a.get("href")],
        "anchors": [a.get("name") for a in root.iter("a") if a.get("name")],
        "images": [img.get("src") for img in root.iter("img")],
        "styles": [link.get("href") for link in root.iter("link")],
        "shape": [e.tag for e in root.iter() if e.tag in SHAPE],
        "bold": ["".join(b.itertext()) for b in root.iter("b")],
    }


def glossary_menus():
    """The Czech menus of the glossary: menu caption -> its item captions, accelerators kept."""
    text = GLOSSARY.read_text(encoding="utf-8")
    section = text.split("## The main window's menus", 1)[1].split("\n## ", 1)[0]
    tables = re.findall(r"\n([^|\n][^\n]*)\n\n((?:\|[^\n]*\n)+)", section)
    menus = {}
    for heading, table in tables:
        rows = [r for r in table.splitlines() if r.startswith("| `")]
        czech = [re.findall(r"`([^`]*)`", r.split("|")[2])[0] for r in rows]
        menus[heading.split(" (")[0].strip()] = czech
    return menus


def plain(caption):
    return caption.replace("&", "").rstrip(".").strip()


class TranslatedHelp(unittest.TestCase):
    def test_every_english_page_is_translated_with_its_links_anchors_and_pictures(self):
        english = sorted(p.name for p in HELP.glob("*.html"))
        self.assertTrue(languages(), "no translated help")
        for folder in languages():
            self.assertEqual(sorted(p.name for p in folder.glob("*.html")), english, folder.name)
            titles = set()
            for name in english:
                with self.subTest(language=folder.name, page=name):
                    source = read_page(HELP / name)
                    page = read_page(folder / name)
                    self.assertEqual(page["lang"], folder.name)
                    self.assertTrue(page["title"])
                    self.assertNotEqual(page["title"], source["title"], "title left in English")
                    self.assertNotIn(page["title"], titles)
                    titles.add(page["title"])
                    # Same places to go and to arrive at: a link followed in one language leads
                    # to the same topic in the other.
                    self.assertEqual(page["links"], source["links"])
                    self.assertEqual(page["anchors"], source["anchors"])
                    self.assertEqual(page["shape"], source["shape"])
                    # One folder deeper: the pictures and the style sheet are the English ones.
                    self.assertEqual(page["images"], ["../" + src for src in source["images"]])
                    self.assertEqual(page["styles"], ["../" + href for href in source["styles"]])
                    for target in page["images"] + page["styles"]:
                        self.assertTrue((folder / target).resolve().is_file(), target)

    def test_menu_commands_are_named_as_the_czech_menus_show_them(self):
        menus = glossary_menus()
        bar = [plain(c) for c in menus.pop("Menu bar")]
        items = {plain(menu): [plain(c) for c in captions] for menu, captions in menus.items()}
        self.assertEqual(sorted(bar), sorted(items))
        named = 0
        for path in sorted((HELP / "cs").glob("*.html")):
            for bold in read_page(path)["bold"]:
                if MENU_ARROW not in bold:
                    continue
                named += 1
                menu, command = (part.strip() for part in bold.split(MENU_ARROW))
                with self.subTest(page=path.name, command=bold):
                    self.assertIn(menu, items)
                    self.assertIn(plain(command), items[menu])
        self.assertGreater(named, 20)

    def test_glossary_menus_have_unique_accelerators(self):
        for menu, captions in glossary_menus().items():
            with self.subTest(menu=menu):
                keys = [c[c.index("&") + 1].lower() for c in captions]
                self.assertEqual(len(keys), len(set(keys)), captions)


if __name__ == "__main__":
    unittest.main()
