"""The board for KiCad read by KiCad itself (its pcbnew module): for the example boards,
a few generated ones and one of awkward names, the file loads; its parts are the pad
file's, with a pad for every land and a via for every through-hole; KiCad's design-rule
check finds no short and no unconnected pad where our check passes; and KiCad's plot of
its copper holds the flashes and strokes of the exported copper, to the micrometre after
one translation. Run by ctest; without pcbnew the test is skipped with the reason, or
fails when VELMORTA_REQUIRE_READERS is set (as CI sets it)."""

import collections
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import pcbnew
except ImportError as error:
    MESSAGE = f"KiCad's pcbnew module cannot be imported ({error}; Debian package kicad)"
    if os.environ.get("VELMORTA_REQUIRE_READERS"):
        sys.exit(f"!! {MESSAGE}")
    print(f"SKIPPED: {MESSAGE}: the board files were NOT checked by KiCad")
    sys.exit(0)

BIN = os.environ["VELMORTA_BIN"]
SOURCE = os.environ["VELMORTA_SOURCE_DIR"]


def generated_pad(seed, double_sided):
    """A board like the C++ tests' generated ones, with lines that end on lands."""
    pick = random.Random(seed).randint
    lines = ["*** Pitch", str(1 + seed % 2), "*** Type", "1" if double_sided else "0", "*** Area",
             "100,100,300,100", "300,100,300,250", "300,250,100,250", "100,250,100,100", "*** Parts"]
    parts = sorted({(110 + 10 * pick(0, 18), 110 + 10 * pick(0, 13)) for _ in range(pick(3, 12))})
    lines += [f'"P{i // 2}",C,{x},{y},{pick(3, 9)},{pick(3, 9)}' for i, (x, y) in enumerate(parts)]
    lines += ["*** ThruHole"] + [f"{105 + 20 * i},245,6,7" for i in range(pick(0, 4))]
    lines += ["*** Hole"] + [f"{x},{y},{8 + 4 * (i % 2)}" for i, (x, y) in enumerate(parts[::3])]
    lines += [f"{pick(110, 290)},{pick(110, 240)},30" for _ in range(pick(0, 2))]
    for section in ("*** TopLine", "*** BottomLine"):
        lines.append(section)
        for _ in range(pick(1, 6)):
            (x1, y1), (x2, y2) = random.Random(pick(0, 999)).sample(parts, 2)
            lines.append(f"{x1},{y1},{x2},{y2},{8 + 4 * pick(0, 3)}")
    return "\n".join(lines) + "\n"


# Names as typed in a Japanese pad file (Shift-JIS), commas and a backslash among them.
NAMES_PAD = ('*** Pitch\n1\n*** Type\n1\n*** Area\n100,100,200,100\n200,100,200,200\n200,200,100,200\n'
             '100,200,100,100\n*** Parts\n"抵抗1",10kΩ,120,120,8,8\n"抵抗1",10kΩ,160,120,8,8\n'
             '"J2,電源",CN,120,160,5,8\n"C\\3",C,160,160,8,8\n*** BottomLine\n120,120,160,120,10\n').encode("cp932")


def boards():
    read = lambda name: open(os.path.join(SOURCE, "examples", name), "rb").read()
    yield "board.pad", read("board.pad")
    yield "single.pad", read("single.pad")
    yield "names", NAMES_PAD
    for seed in range(31, 35):
        yield f"generated {seed}", generated_pad(seed, seed % 2 == 1).encode()


def parts_of(pad):
    """The visible Parts records' names, in order."""
    names, section = [], None
    tokens = pad.split()
    for i, token in enumerate(tokens):
        if token == b"***":
            section = tokens[i + 1] if i + 1 < len(tokens) else None
        elif section == b"Parts" and tokens[i - 1] != b"***":
            name, rest = token.split(b'"')[1], token.split(b'"', 2)[2].split(b",")
            if rest[2] in (b"0", b""):
                break
            names.append(name.decode("utf-8") if pad != NAMES_PAD else name.decode("cp932"))
    return names


def records(pad, section):
    text = pad.decode("latin-1")
    body = text.split(f"*** {section}\n", 1)
    return [] if len(body) < 2 else [r for r in body[1].split("***")[0].split() if r]


def run_export(directory, pad):
    for program in ("velmorta", "velmorta-export"):
        shutil.copy(os.path.join(BIN, program), directory)
    with open(os.path.join(SOURCE, "examples", "velmorta.cfg"), "rb") as cfg:
        configuration = re.sub(rb"\n>g [^\n]*", b"\n>g " + directory.encode(), cfg.read())
    open(os.path.join(directory, "velmorta.cfg"), "wb").write(configuration)
    open(os.path.join(directory, "board.pad"), "wb").write(pad)
    subprocess.run([os.path.join(directory, "velmorta"), "board"], cwd=directory, check=True, capture_output=True)
    return subprocess.run([os.path.join(directory, "velmorta-export"), "board"], cwd=directory, check=True,
                          capture_output=True, text=True).stdout


def gerber_features(path):
    """Flashes and strokes of an RS-274X copper file in 0.001 mm, y upward: a zero-length
    stroke is a dot, a flash under a larger one at its centre adds no copper."""
    apertures, current, at = {}, None, (0, 0)
    flashes, strokes = collections.defaultdict(int), collections.Counter()
    text = open(path).read() if os.path.exists(path) else ""
    for block in re.findall(r"%ADD(\d+)C,([\d.]+)\*%|(D\d+)\*|X(-?\d+)Y(-?\d+)D0([123])\*", text):
        if block[0]:
            apertures[int(block[0])] = round(float(block[1]) * 1000)
        elif block[2]:
            current = apertures.get(int(block[2][1:]), current)
        else:
            point = (round(int(block[3]) / 1000), round(int(block[4]) / 1000))  # nanometres
            if block[5] == "3" or (block[5] == "1" and point == at):
                flashes[point] = max(flashes[point], current)
            elif block[5] == "1":
                strokes[(min(at, point), max(at, point), current)] += 1
            at = point
    return flashes, strokes


def moved(features, dx, dy):
    flashes, strokes = features
    return (sorted(((x + dx, y + dy), d) for (x, y), d in flashes.items()),
            sorted(((a[0] + dx, a[1] + dy), (b[0] + dx, b[1] + dy), d) for (a, b, d), n in strokes.items() for _ in range(n)))


def corner(layers):
    points = [p for flashes, strokes in layers for p in list(flashes) + [a for a, _, _ in strokes]]
    return (min(x for x, _ in points), min(y for _, y in points)) if points else (0, 0)


class KicadBoardTest(unittest.TestCase):
    def test_kicad_reads_every_board(self):
        for name, pad in boards():
            with self.subTest(board=name), tempfile.TemporaryDirectory() as directory:
                summary = run_export(directory, pad)
                board = pcbnew.LoadBoard(os.path.join(directory, "board.kicad_pcb"))

                parts = [f for f in board.GetFootprints() if f.GetFPID().GetLibItemName() == "part"]
                names = parts_of(pad)
                self.assertEqual(sorted(f.GetReference() for f in parts), sorted(set(names)))
                for footprint in parts:
                    numbers = {p.GetNumber() for p in footprint.Pads()}
                    self.assertEqual(len(numbers), names.count(footprint.GetReference()), footprint.GetReference())
                vias = [t for t in board.GetTracks() if t.GetClass() == "PCB_VIA"]
                double_sided = records(pad, "Type")[:1] == ["1"]
                self.assertEqual(len(vias), len(records(pad, "ThruHole")) if double_sided else 0)

                if "board check: passed" in summary:
                    report = os.path.join(directory, "drc.txt")
                    self.assertTrue(pcbnew.WriteDRCReport(board, report, pcbnew.EDA_UNITS_MILLIMETRES, True))
                    text = open(report).read()
                    self.assertIn("Found 0 unconnected pads", text)
                    self.assertNotIn("[shorting_items]", text)
                    self.assertNotIn("[clearance]", text)

                plotter = pcbnew.PLOT_CONTROLLER(board)
                options = plotter.GetPlotOptions()
                options.SetOutputDirectory(os.path.join(directory, "plot"))
                options.SetDrillMarksType(pcbnew.PCB_PLOT_PARAMS.NO_DRILL_SHAPE)
                plots = []
                for layer, side in ((pcbnew.F_Cu, "F_Cu"), (pcbnew.B_Cu, "B_Cu")):
                    plotter.SetLayer(layer)
                    plotter.OpenPlotfile(side, pcbnew.PLOT_FORMAT_GERBER, side)
                    plotter.PlotLayer()
                    plots.append(plotter.GetPlotFileName())
                plotter.ClosePlot()
                kicad = [gerber_features(plot) for plot in plots]
                ours = [gerber_features(os.path.join(directory, "board-fab", f"board.{x}")) for x in ("GTL", "GBL")]
                (kx, ky), (ox, oy) = corner(kicad), corner(ours)
                for theirs, mine in zip(kicad, ours):
                    self.assertEqual(moved(theirs, -kx, -ky), moved(mine, -ox, -oy))


if __name__ == "__main__":
    unittest.main()
