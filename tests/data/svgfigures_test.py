#!/usr/bin/env python3
"""svgfigures.py: figure placements become inlined groups with their own
ids; bad placements fail without leaving an output file."""
import os
import re
import subprocess
import sys
import tempfile
import unittest

SCRIPT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "data", "svgfigures.py")

GLOW = """<svg xmlns="http://www.w3.org/2000/svg" viewBox="-5 -5 10 10">
  <defs><radialGradient id="g"><stop offset="0" stop-color="#fff"/></radialGradient></defs>
  <circle r="4" fill="url(#g)"/><use href="#g"/>
</svg>"""
LAMP = """<svg xmlns="http://www.w3.org/2000/svg"><rect width="2" height="9"/>
  <use href="figures/glow.svg" transform="translate(1,-2)"/></svg>"""
MAN = """<svg xmlns="http://www.w3.org/2000/svg"><rect x="-2" y="-9" width="4" height="9"/>
  <ellipse class="shadow" rx="5" ry="1" fill="#000" opacity="0.22"/></svg>"""
LOOP = """<svg xmlns="http://www.w3.org/2000/svg"><use href="figures/loop.svg"/></svg>"""


class SvgFigures(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        figs = os.path.join(self.dir.name, "figures")
        os.mkdir(figs)
        for name, text in (("glow", GLOW), ("lamp", LAMP), ("loop", LOOP), ("man", MAN)):
            with open(os.path.join(figs, name + ".svg"), "w") as f:
                f.write(text)

    def tearDown(self):
        self.dir.cleanup()

    def run_page(self, body):
        src = os.path.join(self.dir.name, "page.svg")
        out = os.path.join(self.dir.name, "out.svg")
        with open(src, "w") as f:
            f.write('<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">%s</svg>' % body)
        rc = subprocess.run([sys.executable, SCRIPT, src, out], capture_output=True).returncode
        text = open(out).read() if os.path.exists(out) else None
        return rc, text

    def test_placement_keeps_its_attributes_and_moves_x_y_into_the_transform(self):
        rc, text = self.run_page('<use href="figures/glow.svg" x="3" y="4" transform="scale(2)" opacity="0.5"/>')
        self.assertEqual(rc, 0)
        self.assertNotIn("figures/", text)
        g = re.search(r'<g data-figure="glow"([^>]*)>', text)
        self.assertIsNotNone(g)
        self.assertIn('opacity="0.5"', g.group(1))
        self.assertIn('transform="translate(3,4) scale(2)"', g.group(1))
        self.assertIn('<circle r="4"', text)

    def test_each_placement_gets_its_own_ids_and_references(self):
        rc, text = self.run_page('<use href="figures/glow.svg"/><use href="figures/glow.svg" x="5"/>')
        self.assertEqual(rc, 0)
        ids = re.findall(r'\bid="([^"]+)"', text)
        self.assertEqual(len(ids), 2)
        self.assertEqual(len(set(ids)), 2)
        for i in ids:
            self.assertIn('url(#%s)' % i, text)
            self.assertIn('href="#%s"' % i, text)

    def test_figures_may_place_other_figures(self):
        rc, text = self.run_page('<use href="figures/lamp.svg"/>')
        self.assertEqual(rc, 0)
        self.assertIn('data-figure="lamp"', text)
        self.assertIn('data-figure="glow"', text)

    def test_placement_chooses_the_ground_shadow(self):
        shadow = r'<ellipse\b[^>]*rx="5"[^>]*/>'
        rc, text = self.run_page('<use href="figures/man.svg"/>')
        self.assertEqual(rc, 0)
        self.assertIn('opacity="0.22"', re.search(shadow, text).group(0))
        rc, text = self.run_page('<use href="figures/man.svg" shadow="none"/>')
        self.assertEqual(rc, 0)
        self.assertIsNone(re.search(shadow, text))
        self.assertIn('<rect x="-2"', text)
        rc, text = self.run_page('<use href="figures/man.svg" shadow="#4a4458" x="3"/>')
        self.assertEqual(rc, 0)
        ellipse = re.search(shadow, text).group(0)
        self.assertIn('fill="#4a4458"', ellipse)
        self.assertEqual(ellipse.count("fill="), 1)
        self.assertNotIn("opacity", ellipse)
        self.assertNotIn("shadow", re.search(r'<g data-figure="man"[^>]*>', text).group(0))

    def test_bad_placements_fail_without_output(self):
        for body in ('<use href="figures/missing.svg"/>', '<use href="figures/loop.svg"/>',
                     '<use href="figures/man.svg" shadow="grey"/>',
                     '<use href="figures/glow.svg" shadow="none"/>'):
            with self.subTest(body=body):
                rc, text = self.run_page(body)
                self.assertEqual(rc, 1)
                self.assertIsNone(text)


if __name__ == "__main__":
    unittest.main()
