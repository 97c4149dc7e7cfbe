#!/usr/bin/env python3
"""Draws the program icon (a round green button with two white arrows circling) with
ImageMagick and writes src/app/resources/hoptrace.ico holding 32x32 and 16x16 images, and
the Linux desktop's icon theme sizes as src/app/resources/hicolor/<N>x<N>/apps/<APP_ID>.png.
Drawn at 256 px and scaled down, so the small sizes keep smooth edges."""
import math
import pathlib
import subprocess
import tempfile

SIZE, CENTER, RADIUS = 256, 128.0, 118
APP_ID = "com.tavik.Hoptrace"
THEME_SIZES = (16, 32, 48, 64, 128, 256)
ARROW_RADIUS, ARROW_WIDTH, HEAD = 68, 26, 40


def point(angle, radius):
    a = math.radians(angle)
    return CENTER + radius * math.cos(a), CENTER + radius * math.sin(a)


def band(a0, a1, r0, r1, steps=48):
    """A ring segment as one polygon: outer edge forward, inner edge back."""
    outer = [point(a0 + (a1 - a0) * i / steps, r1) for i in range(steps + 1)]
    inner = [point(a1 - (a1 - a0) * i / steps, r0) for i in range(steps + 1)]
    return " ".join(f"{x:.1f},{y:.1f}" for x, y in outer + inner)


def arrow_head(angle):
    """A triangle at the arc's end, pointing clockwise along the circle."""
    a = math.radians(angle)
    px, py = point(angle, ARROW_RADIUS)
    tx, ty, nx, ny = -math.sin(a), math.cos(a), math.cos(a), math.sin(a)
    corners = [(px + tx * HEAD, py + ty * HEAD), (px + nx * HEAD * 0.85, py + ny * HEAD * 0.85),
               (px - nx * HEAD * 0.85, py - ny * HEAD * 0.85)]
    return " ".join(f"{x:.1f},{y:.1f}" for x, y in corners)


def main():
    resources = pathlib.Path(__file__).resolve().parent.parent / "src/app/resources"
    out = resources / "hoptrace.ico"
    draw = ["-stroke", "none",
            "-fill", "#0e4f1d", "-draw", f"circle {CENTER},{CENTER} {CENTER + RADIUS + 4},{CENTER}",
            "-fill", "#1f8a36", "-draw", f"circle {CENTER},{CENTER} {CENTER + RADIUS - 4},{CENTER}",
            "-fill", "#4fbf60", "-draw", f"polygon {band(200, 340, RADIUS - 20, RADIUS - 12)}"]
    for start, end in ((200, 315), (20, 135)):
        draw += ["-fill", "white",
                 "-draw", f"polygon {band(start, end, ARROW_RADIUS - ARROW_WIDTH / 2, ARROW_RADIUS + ARROW_WIDTH / 2)}",
                 "-draw", f"polygon {arrow_head(end)}"]
    with tempfile.TemporaryDirectory() as tmp:
        big = f"{tmp}/icon-256.png"
        subprocess.run(["convert", "-size", f"{SIZE}x{SIZE}", "xc:none", *draw, big], check=True)
        sizes = []
        for px in (32, 16):
            sizes.append(f"{tmp}/icon-{px}.png")
            subprocess.run(["convert", big, "-filter", "Lanczos", "-resize", f"{px}x{px}", sizes[-1]], check=True)
        subprocess.run(["convert", *sizes, str(out)], check=True)
        for px in THEME_SIZES:
            png = resources / f"hicolor/{px}x{px}/apps/{APP_ID}.png"
            png.parent.mkdir(parents=True, exist_ok=True)
            # No time stamps in the file: the same drawing gives the same bytes.
            subprocess.run(["convert", big, "-filter", "Lanczos", "-resize", f"{px}x{px}",
                            "-depth", "8", "-define", "png:exclude-chunks=date,time", "-strip", str(png)], check=True)


if __name__ == "__main__":
    main()
