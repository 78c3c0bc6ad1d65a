#!/usr/bin/python3
"""Renders every layout of a DXF file (model space and each paper-space
layout) to one PNG each, with ezdxf's drawing add-on and matplotlib's Agg
backend (no display needed).

Usage: render-layouts.py FILE.dxf OUTPUT_PREFIX
Writes OUTPUT_PREFIX-model.png, OUTPUT_PREFIX-layout1.png, ... (layouts in
tab order) and prints one line per picture.

Japanese texts need a font with their glyphs: IPAGothic (Debian's
fonts-ipafont-gothic) stands in for the SHX fonts the file names.
"""

import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.font_manager  # noqa: E402
import matplotlib.patches  # noqa: E402
import matplotlib.pyplot as plt  # noqa: E402

import ezdxf  # noqa: E402
import ezdxf.bbox  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402

WIDTH_INCHES = 8


def render(doc, layout, path, paper=None):
    fig = plt.figure(dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ctx = RenderContext(doc)
    ctx.set_current_layout(layout)
    # ezdxf's matplotlib backend does not clip what a viewport shows; with
    # the bounding-box cache it leaves out what lies wholly outside, and
    # the picture of a layout ends at its paper, whose edge it shows.
    frontend = Frontend(ctx, MatplotlibBackend(ax), bbox_cache=ezdxf.bbox.Cache())
    frontend.draw_layout(layout, finalize=True)
    if paper:
        width, height = paper
        ax.add_patch(matplotlib.patches.Rectangle((0, 0), width, height, fill=False,
                                                  edgecolor="#a0a0a0", linewidth=0.8))
        margin = 0.02 * max(width, height)
        ax.set_xlim(-margin, width + margin)
        ax.set_ylim(-margin, height + margin)
    x0, x1 = ax.get_xlim()
    y0, y1 = ax.get_ylim()
    fig.set_size_inches(WIDTH_INCHES, WIDTH_INCHES * (y1 - y0) / (x1 - x0))
    fig.savefig(path, facecolor=fig.get_facecolor())
    plt.close(fig)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    # Fonts matplotlib does not know (the SHX fonts of the file's text
    # styles) fall back to this one.
    fonts = matplotlib.font_manager.fontManager
    if any(f.name == "IPAGothic" for f in fonts.ttflist):
        fonts.defaultFamily["ttf"] = "IPAGothic"
    else:
        print("IPAGothic not found: Japanese texts show as boxes", file=sys.stderr)
    doc = ezdxf.readfile(argv[1])
    prefix = argv[2]
    render(doc, doc.modelspace(), prefix + "-model.png")
    print(prefix + "-model.png")
    for i, name in enumerate(doc.layout_names_in_taborder()[1:], start=1):
        layout = doc.layouts.get(name)
        settings = layout.dxf_layout.dxf
        paper = (settings.paper_width, settings.paper_height)
        if paper[0] <= 0 or paper[1] <= 0:
            continue  # a layout without paper has nothing to show
        path = "%s-layout%d.png" % (prefix, i)
        render(doc, layout, path, paper)
        print("%s (%s)" % (path, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
