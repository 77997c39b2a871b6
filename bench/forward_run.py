#!/usr/bin/env python3
"""Times the forward run on synthetic schools of 1,000, 10,000 and 100,000 sessions, beside libxml2
alone on the same files, and prints each figure as the median of five runs with the targets.

Usage: bench/forward_run.py [--cli build/release/cli/transzendal-cli] [--runs 5] [--work DIR]

Targets: time grows linearly (100,000 sessions take at most 12 times as long as 10,000); the whole
forward run on 100,000 sessions takes less time than libxml2 needs to build its tree of the file
(xmllint --noout), and aims at 3 times the bare stream (xmllint --stream --noout); peak memory is
at most twice the file's size plus 50 MB. Run it on a quiet machine: it is not a test.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = [1000, 10000, 100000]


def measure(command, runs):
    """Median wall seconds, CPU seconds and peak resident MiB of `command` over `runs` runs."""
    walls, cpus, peaks = [], [], []
    for _ in range(runs):
        start = time.monotonic()
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        walls.append(time.monotonic() - start)
        stderr = process.stderr.read().decode("utf-8", "replace")
        process.stderr.close()
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"falló: {' '.join(command)}\n{stderr}")
        cpus.append(usage.ru_utime + usage.ru_stime)
        peaks.append(usage.ru_maxrss / 1024)
    return statistics.median(walls), statistics.median(cpus), statistics.median(peaks)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=os.path.join(HERE, "..", "build", "release", "cli", "transzendal-cli"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default=None, help="folder for the schools (kept between calls)")
    args = parser.parse_args()
    if not shutil.which("xmllint"):
        sys.exit("hace falta xmllint (paquete libxml2-utils)")
    work = args.work or os.path.join(tempfile.gettempdir(), "transzendal-bench")
    os.makedirs(work, exist_ok=True)

    print(f"{os.cpu_count()} núcleos; mediana de {args.runs} ejecuciones")
    print(f"{'sesiones':>9} {'MB':>6} {'conversor s':>12} {'cpu s':>7} {'MiB':>6} "
          f"{'árbol s':>8} {'flujo s':>8} {'/árbol':>7} {'/flujo':>7}")
    results = {}
    for sessions in SIZES:
        school = os.path.join(work, f"centro-{sessions}.xml")
        if not os.path.exists(school):
            subprocess.run([sys.executable, os.path.join(HERE, "generate_school.py"), str(sessions),
                            "--output", school], check=True)
        directory = os.path.join(work, f"ztemp-{sessions}")
        os.makedirs(directory, exist_ok=True)
        size_mb = os.path.getsize(school) / 1e6
        run = measure([args.cli, "exportar", school, "--directorio", directory, "--marcos", "1,2"], args.runs)
        tree = measure(["xmllint", "--noout", school], args.runs)
        stream = measure(["xmllint", "--stream", "--noout", school], args.runs)
        results[sessions] = (size_mb, run, tree, stream)
        print(f"{sessions:>9} {size_mb:>6.1f} {run[0]:>12.3f} {run[1]:>7.3f} {run[2]:>6.1f} "
              f"{tree[0]:>8.3f} {stream[0]:>8.3f} {run[0] / tree[0]:>7.2f} {run[0] / stream[0]:>7.2f}")

    size_mb, run, tree, stream = results[100000]
    growth = run[0] / results[10000][1][0]
    memory_bound = 2 * size_mb * 1e6 / 2**20 + 50
    checks = [
        (f"crecimiento lineal: 100.000 / 10.000 sesiones = {growth:.1f} (máximo 12)", growth <= 12),
        (f"100.000 sesiones frente al árbol de libxml2: {run[0] / tree[0]:.2f} (menos de 1)", run[0] < tree[0]),
        (f"100.000 sesiones frente al flujo de libxml2: {run[0] / stream[0]:.2f} (objetivo 3)", run[0] <= 3 * stream[0]),
        (f"memoria máxima: {run[2]:.1f} MiB (máximo {memory_bound:.1f})", run[2] <= memory_bound),
    ]
    for text, met in checks:
        print(("cumple    " if met else "no cumple ") + text)


if __name__ == "__main__":
    main()
