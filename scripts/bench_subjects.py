#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes N complete subjects' data files into a folder, for scripts/bench-batch.sh.

The subjects are varied the way a real study is: answers of every kind, accented names (some
outside code page 1252, so those files are UTF-8 with a byte-order mark), notes with commas,
quotes, apostrophes and line breaks. The same N and seed always give the same files.
Prints one line per subject: the three files selvo-batch writes for it (the first is also the
name of its data file here), tab-separated, in the order the run commits them.
"""

import random
import sys
from pathlib import Path

FIRST_NAMES = [
    "Mario", "Giulia", "Niccolò", "Lucía", "Zoë", "José", "Élodie", "Jürgen", "Ștefan",
    "Łukasz", "Ağan", "Tomáš", "Chloé", "Søren", "Iñaki", "Anna", "Luca", "Francesca",
]
SURNAMES = [
    "Rossi", "Bianchi", "D'Amico", "Esposito", "Wójcik", "Müller", "Kovač", "Nguyễn", "Bruni",
    "Gallo", "Ferrari", "Popescu", "Çelik", "Dell'Acqua", "Conte",
]
NOTES = [
    "",
    "",
    "nessuna osservazione",
    "visto due volte;\r\nprima seduta interrotta",
    'nota con "virgolette", apostrofo d\'esempio e €',
    "ha chiesto una pausa, poi ha ripreso",
    "riga uno\r\nriga due\r\nriga tre",
    "paziente collaborante – compilato in 25′",
    "trent'anni di terapia, niente da segnalare",
    "Ţară natală: România",
]


def encoded(line: str) -> bytes:
    """Code page 1252 when every character fits, else UTF-8 marked with a byte-order mark."""
    try:
        return line.encode("cp1252")
    except UnicodeEncodeError:
        return b"\xef\xbb\xbf" + line.encode("utf-8")


def subject_line(rng: random.Random, name: str, surname: str) -> str:
    lean = rng.randint(1, 7)  # some subjects agree more than others
    agreement = [min(7, max(1, round(rng.gauss(lean, 2)))) for _ in range(94)]
    distress = [rng.randint(1, 3) if t >= 5 else 0 for t in agreement]
    texts = [
        name,
        surname,
        str(rng.randint(18, 85)),
        str(rng.randint(1, 2)),
        str(rng.randint(1, 5)),
        str(rng.randint(1, 5)),
        rng.choice(NOTES),
    ]
    fields = [str(rng.randint(0, 999))]
    fields += ['"' + t.replace('"', '""') + '"' for t in texts]
    fields += [str(a) for a in agreement] + [str(d) for d in distress]
    return ",".join(fields) + "\r\n"


def main() -> None:
    if len(sys.argv) != 3:
        sys.exit("uso: bench_subjects.py N CARTELLA")
    count = int(sys.argv[1])
    folder = Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1975)
    for i in range(count):
        name = rng.choice(FIRST_NAMES)
        # The number keeps every subject's files apart, as a study code would.
        surname = f"{rng.choice(SURNAMES)}-{i:05d}"
        stem = f"{surname}_{name}"
        outputs = [f"SELVO_{stem}.csv", f"SELVO_{stem}_report.rtf", f"SELVO_SS000_{stem}_sps.sps"]
        (folder / outputs[0]).write_bytes(encoded(subject_line(rng, name, surname)))
        print("\t".join(outputs))


if __name__ == "__main__":
    main()
