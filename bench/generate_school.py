#!/usr/bin/env python3
"""Writes a synthetic Colvaria school file of any size, the same for the same seed.

Usage: generate_school.py SESSIONS [--seed N] [--output FILE]

Teachers, groups, subjects, rooms and time frames grow with the number of sessions, so that a
school ten or a hundred times larger than usual looks like many ordinary schools put together.
"""
import argparse
import random
import sys
from xml.sax.saxutils import escape

FIRST_NAMES = ["Ana", "Juan", "María", "José", "Lucía", "Carmen", "Pedro", "Elena", "Raúl", "Inés",
               "Tomás", "Nuria", "Óscar", "Begoña", "Íñigo", "Sofía", "Álvaro", "Pilar"]
SURNAMES = ["García", "López", "Martínez", "Sánchez", "Pérez", "Gómez", "Fernández", "Ruiz",
            "Díaz", "Muñoz", "Álvarez", "Romero", "Núñez", "Ibáñez", "Castaño", "Peña"]
SUBJECTS = ["Lengua Castellana y Literatura", "Matemáticas", "Física y Química",
            "Geografía e Historia", "Biología y Geología", "Educación Física", "Tecnología",
            "Inglés", "Francés", "Música", "Educación Plástica, Visual y Audiovisual", "Filosofía",
            "Latín", "Economía", "Religión", "Valores Éticos", "Dibujo Técnico", "Química"]
TASKS = ["Guardia", "Tutoría", "Reunión de departamento", "Biblioteca", "Atención a familias"]
ROOMS = ["Aula", "Laboratorio", "Taller", "Aula de Informática", "Gimnasio", "Aula de Música"]
LEVELS = [("ESO", 4), ("BACH", 2), ("CFGM", 2)]


def school(sessions, seed):
    rnd = random.Random(seed)
    scale = max(1, sessions // 250)
    teachers = [(f"{f[0]}{s[0]}{t[0]}{i}".upper(), f"{f} {s} {t}")
                for i in range(30 * scale)
                for f, s, t in [(rnd.choice(FIRST_NAMES), rnd.choice(SURNAMES), rnd.choice(SURNAMES))]]
    subjects = [f"{SUBJECTS[i % len(SUBJECTS)]} {i // len(SUBJECTS) + 1}" for i in range(25 * scale)]
    rooms = [f"{ROOMS[i % len(ROOMS)]} {i + 1}" for i in range(12 * scale)]
    frames = [str(i + 1) for i in range(2 * scale)]
    groups = []
    for i in range(12 * scale):
        level, courses = LEVELS[i % len(LEVELS)]
        course = str(i // len(LEVELS) % courses + 1)
        unit = chr(ord("A") + i // (len(LEVELS) * courses) % 26)
        groups.append((f"{course}º {level} {unit} ({i})", level, course, unit, frames[i % len(frames)]))

    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<datosZPH>", "  <materias>"]
    out += [f"    <materia>{escape(s)}</materia>" for s in subjects]
    out += ["  </materias>", "  <tareas>"]
    out += [f"    <tarea>{escape(t)}</tarea>" for t in TASKS]
    out += ["  </tareas>", "  <profesores>"]
    for short, full in teachers:
        out.append(f"    <profesor><nombre>{escape(short)}</nombre>"
                   f"<nombreCompleto>{escape(full)}</nombreCompleto></profesor>")
    out += ["  </profesores>", "  <aulas>"]
    out += [f"    <aula><nombre>{escape(r)}</nombre></aula>" for r in rooms]
    out += ["  </aulas>", "  <conjuntoDeAulas>",
            f'    <general nombre="Desdoble" numero="{3 * scale}"/>', "  </conjuntoDeAulas>",
            "  <marcosDeHorario>"]
    for k, frame in enumerate(frames):
        out.append(f'    <marcoHorario id="{frame}" nombre="Marco {frame}">')
        start = 8 * 60 + 15 if k % 2 == 0 else 15 * 60 + 30
        for day in range(5):
            for period in range(6):
                begin = start + period * 55 + (30 if period >= 3 else 0)
                out.append(f"      <tramo><submarco>{frame}</submarco><dia>{day}</dia>"
                           f"<indice>{period + 1}</indice>"
                           f"<horaEntrada>{begin // 60:02d}:{begin % 60:02d}:00</horaEntrada>"
                           f"<horaSalida>{(begin + 55) // 60:02d}:{(begin + 55) % 60:02d}:00</horaSalida>"
                           f"<Tipo>Lectivo</Tipo></tramo>")
        out.append("    </marcoHorario>")
    out += ["  </marcosDeHorario>", "  <grupos>"]
    for name, level, course, unit, frame in groups:
        out.append(f'    <grupo submarco="{frame}"><nombre>{escape(name)}</nombre><nivel>{level}</nivel>'
                   f"<curso>{course}</curso><unidad>{unit}</unidad></grupo>")
    out += ["  </grupos>", "  <sesionesLectivas>"]
    for i in range(sessions):
        task = escape(rnd.choice(TASKS)) if rnd.random() < 0.05 else ""
        out.append(f'    <sesion id="{1000 + i}"><materia>{escape(rnd.choice(subjects))}</materia>'
                   f"<profesor>{escape(rnd.choice(teachers)[0])}</profesor>"
                   f"<grupo>{escape(rnd.choice(groups)[0])}</grupo><tarea>{task}</tarea>"
                   f"<distribucionSemanal><distribucionVariable><numSesiones>{rnd.randint(1, 5)}"
                   f"</numSesiones></distribucionVariable></distribucionSemanal></sesion>")
    out += ["  </sesionesLectivas>", "</datosZPH>", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("sessions", type=int)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--output", default="-")
    args = parser.parse_args()
    text = school(args.sessions, args.seed)
    if args.output == "-":
        sys.stdout.write(text)
    else:
        with open(args.output, "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main()
