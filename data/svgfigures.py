#!/usr/bin/env python3
"""Inline figure references into a picture before it is rendered.

Recurring figures (K.V., Tibbet, the owl, ...) are drawn once, each in its
own file under gfx/figures/, and placed on any page with an ordinary
<use> element that names the file:

    <use href="figures/kv.svg" transform="translate(200,400) scale(0.9)"/>

rsvg-convert does not follow references to other files, so the data build
runs every picture through this script first. Each such <use> becomes a
<g> holding the figure's drawing (everything inside its root <svg>); the
<use>'s other attributes (transform, opacity, fill, class, ...) stay on
the <g>, and x/y become a leading translate. Ids inside a figure get a
per-placement prefix, so a figure may hold gradients and be placed many
times on one page. Figures may place other figures the same way.

Figure conventions: the origin is where the figure stands (between the
feet, on the ground line), it faces right, and its size is the size it
has on a page seen from about 4 m away (K.V. ~120 px tall). Mirror with
scale(-1,1), resize with scale(s).

Ground shadows: a figure may mark one shape as its shadow on the ground
with class="shadow" (a dark translucent ellipse under the feet). Over an
opaque ground it blends when the picture is rendered. Where the ground
under the feet is left transparent (an overlay drawn over the sky, the
dungeon frame or another picture) the game's alpha test would draw it as a
solid black slab, so the placing <use> says what to do with it:

    shadow="none"       leave the shadow out
    shadow="#4a4458"    paint it opaque in that colour (the colour of the
                        ground it falls on in the game, darkened)

The attribute applies to the placed figure's own shadow; figures that it
places carry their own.

Usage: svgfigures.py INPUT.svg OUTPUT.svg [FIGURE_DIR]
FIGURE_DIR defaults to the folder "figures" beside INPUT.
"""
import os
import re
import sys

USE_RE = re.compile(r'<use\b([^>]*?)\bhref="figures/([\w.-]+?)\.svg"([^>]*?)/>', re.S)
ATTR_RE = re.compile(r'([\w:-]+)\s*=\s*"([^"]*)"')
ID_RE = re.compile(r'\bid="([^"]+)"')
SHADOW_RE = re.compile(r'<(\w+)\b([^>]*?)\bclass="shadow"([^>]*?)/>', re.S)
COLOUR_RE = re.compile(r'#(?:[0-9a-fA-F]{3}){1,2}')


class FigureError(Exception):
    pass


def figure_body(path):
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        raise FigureError(f"cannot read figure {path}: {e.strerror}")
    m = re.search(r'<svg\b[^>]*>(.*)</svg>', text, re.S)
    if not m:
        raise FigureError(f"{path}: no <svg> root")
    return m.group(1)


def prefix_ids(body, prefix):
    ids = set(ID_RE.findall(body))
    for old in sorted(ids, key=len, reverse=True):
        new = prefix + old
        body = re.sub(r'\bid="%s"' % re.escape(old), f'id="{new}"', body)
        body = re.sub(r'url\(#%s\)' % re.escape(old), f'url(#{new})', body)
        body = re.sub(r'href="#%s"' % re.escape(old), f'href="#{new}"', body)
    return body


def set_shadow(body, setting, name):
    """The figure's body with its ground shadow left out (setting "none")
    or painted opaque in the colour given."""
    if setting != "none" and not COLOUR_RE.fullmatch(setting):
        raise FigureError(f'figure {name}: shadow="{setting}" is neither "none" nor a #rgb or #rrggbb colour')
    if not SHADOW_RE.search(body):
        raise FigureError(f"figure {name}: shadow set, but it has no shape of class \"shadow\"")

    def paint(m):
        if setting == "none":
            return ""
        attrs = re.sub(r'\s(?:fill|opacity|fill-opacity)="[^"]*"', "", m.group(2) + m.group(3))
        return f'<{m.group(1)} {attrs.strip()} fill="{setting}"/>'

    return SHADOW_RE.sub(paint, body)


def expand(text, fig_dir, stack, counter):
    def replace(m):
        name = m.group(2)
        if name in stack:
            raise FigureError("figure placed inside itself: " + " -> ".join(stack + [name]))
        attrs = dict(ATTR_RE.findall(m.group(1) + " " + m.group(3)))
        attrs.pop("xlink:href", None)
        attrs.pop("href", None)
        x = attrs.pop("x", None)
        y = attrs.pop("y", None)
        transform = attrs.pop("transform", "")
        shadow = attrs.pop("shadow", None)
        if x or y:
            transform = f"translate({x or 0},{y or 0}) {transform}".strip()
        if transform:
            attrs["transform"] = transform
        counter[0] += 1
        body = figure_body(os.path.join(fig_dir, name + ".svg"))
        if shadow is not None:
            body = set_shadow(body, shadow, name)
        body = expand(body, fig_dir, stack + [name], counter)
        body = prefix_ids(body, f"{name}{counter[0]}-")
        attr_text = "".join(f' {k}="{v}"' for k, v in attrs.items())
        return f'<g data-figure="{name}"{attr_text}>{body}</g>'

    return USE_RE.sub(replace, text)


def main(argv):
    if len(argv) not in (3, 4):
        usage = [line for line in __doc__.splitlines() if line.startswith("Usage:")]
        print(usage[0], file=sys.stderr)
        return 2
    src, dst = argv[1], argv[2]
    fig_dir = argv[3] if len(argv) == 4 else os.path.join(os.path.dirname(src), "figures")
    try:
        with open(src, encoding="utf-8") as f:
            text = f.read()
        out = expand(text, fig_dir, [], [0])
    except (OSError, FigureError) as e:
        print(f"svgfigures: {src}: {e}", file=sys.stderr)
        return 1
    tmp = dst + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(out)
    os.replace(tmp, dst)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
