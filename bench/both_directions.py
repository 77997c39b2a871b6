#!/usr/bin/env python3
"""Both runs on large synthetic schools: the forward run, the stand-in for the timetable program
writing a full SOLUC, and the reverse run, on schools of 10,000, 30,000 and 100,000 sessions,
printing wall time and peak memory of each run against its bound.

Usage: bench/both_directions.py [--bin build/release] [--work DIR]

Bounds: the forward run at most twice the school file's size plus 50 MB; the reverse run, which
copies the document as a tree, at most 12 times the result file's size plus 50 MB; both growing
linearly (100,000 sessions take at most 12 times as long as 10,000). Run it on a quiet machine
with a release build (cmake --preset release && cmake --build --preset release): it is not a test.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = [10000, 30000, 100000]
MIB = 2**20


def measure(command):
    """Wall seconds and peak resident MiB of one run of `command`, which must succeed."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    stderr = process.stderr.read().decode("utf-8", "replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"falló: {' '.join(command)}\n{stderr}")
    return wall, usage.ru_maxrss / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "build", "release"))
    parser.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "transzendal-bench"))
    args = parser.parse_args()
    cli = os.path.join(args.bin, "cli", "transzendal-cli")
    simulator = os.path.join(args.bin, "examples", "simulador", "simulador-zendalor")
    for program in (cli, simulator):
        if not os.access(program, os.X_OK):
            sys.exit(f"falta {program}: compile la versión release")
    os.makedirs(args.work, exist_ok=True)

    print(f"{'sesiones':>9} {'XML MB':>7} {'exportar s':>11} {'MiB':>7} {'límite':>7} "
          f"{'resultado MB':>13} {'importar s':>11} {'MiB':>7} {'límite':>7}")
    rows = {}
    for sessions in SIZES:
        school = os.path.join(args.work, f"centro-{sessions}.xml")
        if not os.path.exists(school):
            subprocess.run([sys.executable, os.path.join(HERE, "generate_school.py"), str(sessions),
                            "--output", school], check=True)
        directory = os.path.join(args.work, f"ztemp-ambos-{sessions}")
        os.makedirs(directory, exist_ok=True)
        forward = measure([cli, "exportar", school, "--directorio", directory, "--marcos", "1,2"])
        subprocess.run([simulator, "--directorio", directory], check=True, stdout=subprocess.DEVNULL)
        reverse = measure([cli, "importar", school, "--directorio", directory])
        result = os.path.join(args.work, f"ResultadoZendalcentro-{sessions}.xml")
        school_size = os.path.getsize(school)
        result_size = os.path.getsize(result)
        forward_bound = (2 * school_size + 50 * 10**6) / MIB
        reverse_bound = (12 * result_size + 50 * 10**6) / MIB
        rows[sessions] = (forward, reverse, forward_bound, reverse_bound)
        print(f"{sessions:>9} {school_size / 1e6:>7.1f} {forward[0]:>11.2f} {forward[1]:>7.1f} "
              f"{forward_bound:>7.1f} {result_size / 1e6:>13.1f} {reverse[0]:>11.2f} "
              f"{reverse[1]:>7.1f} {reverse_bound:>7.1f}")

    largest, smallest = rows[SIZES[-1]], rows[SIZES[0]]
    factor = SIZES[-1] / SIZES[0]
    checks = []
    for name, index in (("exportar", 0), ("importar", 1)):
        growth = largest[index][0] / smallest[index][0]
        checks.append((f"{name}: {SIZES[-1]} / {SIZES[0]} sesiones = {growth:.1f} en tiempo "
                       f"(lineal: como mucho {1.2 * factor:.0f})", growth <= 1.2 * factor))
        for sessions, row in rows.items():
            peak, bound = row[index][1], row[2 + index]
            checks.append((f"{name}, {sessions} sesiones: {peak:.1f} MiB (máximo {bound:.1f})",
                           peak <= bound))
    for text, met in checks:
        print(("cumple    " if met else "no cumple ") + text)
    sys.exit(0 if all(met for _, met in checks) else 1)


if __name__ == "__main__":
    main()
