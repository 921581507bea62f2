#!/usr/bin/env python3
"""Draws the main menu picture and the program icon with ImageMagick.

Run from this folder; writes menu_picture.png and quillory.png. The ridges
come from a fixed seed, so the pictures are the same on every run.
"""
import math
import random
import subprocess

KAI = "/usr/share/fonts/truetype/arphic/ukai.ttc"


def ridge(rng, width, base, height, roughness, steps=48):
    """A mountain outline: points from left to right, closed at the bottom."""
    points = []
    phase = rng.uniform(0, math.pi * 2)
    for i in range(steps + 1):
        x = width * i / steps
        wave = math.sin(i / steps * math.pi * 2.2 + phase) * 0.5 + 0.5
        peak = math.sin(i / steps * math.pi * 5.1 + phase * 1.7) * 0.25
        y = base - height * (wave + peak) + rng.uniform(-roughness, roughness)
        points.append((x, y))
    return points


def polygon(points, bottom, width):
    outline = points + [(width, bottom), (0, bottom)]
    return " ".join(f"{x:.1f},{y:.1f}" for x, y in outline)


def picture(path, width=452, height=572):
    rng = random.Random(1907)
    layers = [
        # (base line, height, roughness, colour)
        (330, 70, 3, "#c3d0dd"),
        (392, 80, 4, "#a3b6c9"),
        (455, 70, 5, "#7f97ae"),
        (520, 60, 5, "#5f7890"),
    ]
    cmd = ["convert", "-size", f"{width}x{height}", "gradient:#cfdde9-#f3f6f9"]
    # A pale sun low in the sky, and the vault of heaven as a faint arc.
    cmd += ["(", "-size", f"{width}x{height}", "xc:none", "-fill", "#fbf4e4",
            "-draw", "circle 318,178 318,128", "-blur", "0x6", ")", "-composite"]
    cmd += ["-fill", "none", "-stroke", "#ffffffaa", "-strokewidth", "2",
            "-draw", f"arc -120,40 {width + 120},620 200,340", "-stroke", "none"]
    for index, (base, rise, rough, colour) in enumerate(layers):
        outline = polygon(ridge(rng, width, base, rise, rough), height, width)
        cmd += ["-fill", colour, "-draw", f"polygon {outline}"]
        # Mist lying in front of every range but the nearest.
        if index < len(layers) - 1:
            cmd += ["(", "-size", f"{width}x{height}", "xc:none", "-fill", "#ffffff88",
                    "-draw", f"rectangle -40,{base - 14} {width + 40},{base + 26}",
                    "-blur", "0x24", ")", "-composite"]
    # The product name, written top to bottom, and a small seal.
    cmd += ["-font", KAI, "-fill", "#34495e", "-pointsize", "84",
            "-gravity", "NorthWest", "-annotate", "+52+50", "穹",
            "-annotate", "+52+150", "岚", "-gravity", "NorthWest"]
    cmd += ["-fill", "#b5473a", "-draw", "roundrectangle 66,258 116,308 6,6",
            "-font", KAI, "-fill", "#fbf4e4", "-pointsize", "30",
            "-annotate", "+76+266", "学"]
    cmd += ["-bordercolor", "#8da2b6", "-border", "2", "-resize", f"{width}x{height}!",
            "-depth", "8", "-strip", path]
    subprocess.run(cmd, check=True)


def icon(path, size=256):
    rng = random.Random(311)
    cmd = ["convert", "-size", f"{size}x{size}", "gradient:#5d7f9f-#cddbe8"]
    cmd += ["-fill", "#fbf4e4", "-draw", "circle 184,92 184,68"]
    for base, rise, colour in ((190, 60, "#9fb3c6"), (226, 56, "#4f6a84")):
        outline = polygon(ridge(rng, size, base, rise, 2, steps=24), size, size)
        cmd += ["-fill", colour, "-draw", f"polygon {outline}"]
    cmd += ["-font", KAI, "-fill", "#1f3347", "-pointsize", "116", "-gravity", "North",
            "-annotate", "+-28+18", "穹", "-gravity", "NorthWest"]
    # Rounded corners: keep only what lies inside the rounded square.
    cmd += ["(", "-size", f"{size}x{size}", "xc:none", "-fill", "white",
            "-draw", f"roundrectangle 8,8 {size - 9},{size - 9} 44,44", ")",
            "-alpha", "set", "-compose", "DstIn", "-composite", "-depth", "8", "-strip", path]
    subprocess.run(cmd, check=True)


if __name__ == "__main__":
    picture("menu_picture.png")
    icon("quillory.png")
