#!/usr/bin/env python3
"""Generates the example curves of Mivaro (fixed seed, so the output is stable).

Run from anywhere: python3 examples/generate_examples.py
Writes, next to this script:
  fused_silica_labelled.MVR    standard curve file with segment labels
  fused_silica_unlabelled.MVR  standard curve file with an empty label column
                               (Mivaro derives the segments from the force)
  machine_export.txt           tab-separated test-machine style export, 4 header
                               lines, depth in nm, force in uN
  machine_export_setup/MivaroOpenSetup.par  the column setup that reads it
  MivaroOpenSetup.par          the same setup, for a run in this directory
                               (the examples project lists the export too)

The curves model a Berkovich indentation of fused silica: loading P = k h^2,
a hold at peak force with logarithmic creep, power-law unloading
P = a (h - hf)^m with m about 1.4, a hold at 10 % of the peak force with a
little elastic recovery, an elastic reload along the unloading branch, and a
final unloading. Sensor noise is added to depth and force.

The unloading branch is built from the material, so that the usual analysis
(area function 24.5 hc^2, epsilon 0.75, fit of the upper half of the branch)
finds it again: hardness H gives the contact area A = Pmax / H at the peak,
the reduced modulus Er the stiffness S = 2 Er sqrt(A / pi), and then
hc = sqrt(A / 24.5), hmax = hc + 0.75 Pmax / S and hmax - hf = m Pmax / S.
With Er = 69.6 GPa the sample modulus is about 72 GPa (Vs 0.17, diamond
indenter Ei 1141 GPa, Vi 0.07).
"""

import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
SEED = 20240611

M_EXPONENT = 1.38       # power-law exponent of the unloading branch
REDUCED_MODULUS_GPA = 69.6
HARDNESS_GPA = 9.0
AREA_C0 = 24.5          # Berkovich area function Ap = 24.5 hc^2
EPSILON = 0.75          # Sneddon's factor of a paraboloid of revolution
CREEP_SHARE = 0.012     # depth gained in the top hold, share of the loading depth


def unloading_of(pmax):
    """Maximum depth (after the hold) and final depth of the unloading branch
    P = a (h - hf)^m of a test to pmax mN."""
    area = pmax / (HARDNESS_GPA * 1e-6)                            # nm^2 (1 GPa = 1e-6 mN/nm^2)
    stiffness = 2.0 * REDUCED_MODULUS_GPA * 1e-6 * math.sqrt(area / math.pi)  # mN/nm
    hc = math.sqrt(area / AREA_C0)
    hmax = hc + EPSILON * pmax / stiffness
    return hmax, hmax - M_EXPONENT * pmax / stiffness


class Test:
    """One load-controlled indentation test, sampled at a fixed rate."""

    def __init__(self, rng, peak_force_mn, rate_hz):
        self.rng = rng
        self.pmax = peak_force_mn
        self.hmax, self.hf = unloading_of(peak_force_mn)
        self.hmax0 = self.hmax / (1.0 + CREEP_SHARE)  # depth at the end of loading
        self.dt = 1.0 / rate_hz
        self.rows = []  # (depth nm, force mN, time s, label)
        self.t = 0.0

    def add(self, depth, force, label, depth_noise, force_noise):
        depth += self.rng.gauss(0.0, depth_noise)
        force += self.rng.gauss(0.0, force_noise)
        self.rows.append([depth, force, self.t, label])
        self.t += self.dt

    def run(self, load_s, hold_s, unload_s, bottom_s, reload_s, final_s, noise):
        dn, fn = noise
        k = self.pmax / self.hmax0 ** 2
        # Loading at a constant loading rate: h = sqrt(P / k).
        n = int(load_s / self.dt)
        for i in range(1, n + 1):
            p = self.pmax * i / n
            self.add(math.sqrt(p / k), p, "LOAD", dn, fn)
        # Hold with logarithmic creep.
        n = int(hold_s / self.dt)
        creep = self.hmax - self.hmax0
        for i in range(1, n + 1):
            self.add(self.hmax0 + creep * math.log1p(i * self.dt / 0.8) / math.log1p(hold_s / 0.8),
                     self.pmax, "TOP_HOLD", dn, fn)
        hf = self.hf
        a = self.pmax / (self.hmax - hf) ** M_EXPONENT

        def depth_at(p):
            return hf + (p / a) ** (1.0 / M_EXPONENT)

        # Unloading to 10 % of the peak force.
        pmin = 0.1 * self.pmax
        n = int(unload_s / self.dt)
        for i in range(1, n + 1):
            p = self.pmax - (self.pmax - pmin) * i / n
            self.add(depth_at(p), p, "UNLOAD", dn, fn)
        # Hold at the minimum force: a little elastic recovery.
        n = int(bottom_s / self.dt)
        h_bottom = depth_at(pmin)
        for i in range(1, n + 1):
            self.add(h_bottom - 0.8 * (1 - math.exp(-i * self.dt / 1.5)), pmin, "BOTTOM_HOLD", dn, fn)
        # Elastic reload along the unloading branch, up to the peak force.
        n = int(reload_s / self.dt)
        for i in range(1, n + 1):
            p = pmin + (self.pmax - pmin) * i / n
            self.add(depth_at(p), p, "RELOAD", dn, fn)
        # Final unloading to zero force.
        n = int(final_s / self.dt)
        for i in range(1, n + 1):
            p = self.pmax * (1 - i / n)
            self.add(depth_at(p), p, "UNLOAD", dn, fn)
        return self.rows


def monotone_force(rows, labels, rising):
    """Makes the force of the rows with these labels move one way only, as a
    load-controlled machine's set point does, so that noise does not read as
    a change of segment."""
    for i in range(1, len(rows)):
        if rows[i][3] in labels and rows[i - 1][3] in labels:
            if rising and rows[i][1] < rows[i - 1][1]:
                rows[i][1] = rows[i - 1][1]
            if not rising and rows[i][1] >= rows[i - 1][1]:
                rows[i][1] = rows[i - 1][1] - 1e-6


def write_mvr(path, rows, labelled):
    # The layout Mivaro writes: exponent notation for depth (um) and force (mN),
    # fixed notation for time, CR LF line ends.
    with open(path, "w", newline="") as out:
        out.write("Depth(um),Force(mN),Time(s),Segment\r\n")
        for depth, force, time, label in rows:
            out.write("%e,%e,%f,%s\r\n" % (depth * 0.001, force, time, label if labelled else ""))


def write_export(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write("Mivaro example export, fused silica, Berkovich\n")
        out.write("\n")
        out.write("Number of Points = %d\n" % len(rows))
        out.write("Depth (nm)\tLoad (\u00b5N)\tTime (s)\n")
        for depth, force, time, _ in rows:
            out.write("%.3f\t%.2f\t%.3f\n" % (depth, force * 1000.0, time))


def write_export_setup(directory):
    os.makedirs(directory, exist_ok=True)
    # header lines, depth column, force column, decimal comma, depth unit (nm),
    # force unit (uN), separator kind (tab), other separator, segment column
    # present, time column present, segment column, time column
    values = ["4", "1", "2", "0", "0", "0", "1", ";", "0", "1", "4", "3"]
    with open(os.path.join(directory, "MivaroOpenSetup.par"), "w", newline="") as out:
        out.write("\n".join(values) + "\n")


def main():
    rng = random.Random(SEED)

    labelled = Test(rng, peak_force_mn=10.0, rate_hz=10).run(
        load_s=20, hold_s=10, unload_s=10, bottom_s=5, reload_s=10, final_s=15, noise=(0.15, 0.0015))
    write_mvr(os.path.join(HERE, "fused_silica_labelled.MVR"), labelled, True)

    unlabelled = Test(rng, peak_force_mn=5.0, rate_hz=10).run(
        load_s=15, hold_s=8, unload_s=8, bottom_s=5, reload_s=8, final_s=12, noise=(0.15, 0.0015))
    monotone_force(unlabelled, {"LOAD"}, rising=True)
    monotone_force(unlabelled, {"RELOAD"}, rising=True)
    monotone_force(unlabelled, {"UNLOAD"}, rising=False)
    write_mvr(os.path.join(HERE, "fused_silica_unlabelled.MVR"), unlabelled, False)

    export = Test(rng, peak_force_mn=3.0, rate_hz=20).run(
        load_s=10, hold_s=5, unload_s=5, bottom_s=3, reload_s=5, final_s=8, noise=(0.2, 0.0008))
    write_export(os.path.join(HERE, "machine_export.txt"), export)
    write_export_setup(os.path.join(HERE, "machine_export_setup"))
    write_export_setup(HERE)


if __name__ == "__main__":
    main()
