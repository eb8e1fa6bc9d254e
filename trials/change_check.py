#!/usr/bin/env python3
"""Checks a ledger database against what change-driver said it did (see ChangeDriver.cpp).

  change_check.py snapshot DB            prints the database's entries as JSON
  change_check.py check SNAPSHOT LOG DB  exit 0 when the database is the state after the last
                                         change reported done, or after the change in flight
                                         as well; otherwise prints what differs, exit 1

An entry's state: [bank, marked, summary or None (the bank's text), note].
"""
import json
import sqlite3
import sys


def read(db):
    con = sqlite3.connect(f"file:{db}?mode=ro", uri=True)
    rows = con.execute(
        "SELECT id, account, marked, summary, bank_summary, coalesce(note, '') FROM entries")
    state = {}
    for id_, account, marked, summary, bank_summary, note in rows:
        state[id_] = [account, marked, None if bank_summary is None else summary, note, summary,
                      bank_summary if bank_summary is not None else summary]
    con.close()
    return state


def apply(model, effect):
    kind = effect[0]
    if kind == "mark":
        model[effect[1]][1] = effect[2]
    elif kind == "summary":
        model[effect[1]][2] = effect[2]
    elif kind == "note":
        model[effect[1]][3] = effect[2]
    elif kind == "del":
        for id_ in effect[1]:
            model.pop(id_, None)
    elif kind == "put":
        for id_, bank, marked, summary, note in effect[1]:
            model[id_] = [bank, marked, summary, note]
    elif kind == "new":
        for id_ in effect[2]:
            model[id_] = [effect[1], 0, None, ""]
    else:
        raise ValueError(f"unknown effect {effect}")


def differences(model, db, imports=None):
    """What differs between the model and the database; with imports (the files in flight),
    entries the model lacks may be those files' lines, each file all there or not at all."""
    problems = []
    for id_, (bank, marked, summary, note) in model.items():
        got = db.get(id_)
        if got is None:
            problems.append(f"id {id_} is missing")
            continue
        if got[0] != bank or got[1] != marked or got[3] != note:
            problems.append(f"id {id_}: bank/marked/note {got[0]}/{got[1]}/{got[3]!r}, "
                            f"expected {bank}/{marked}/{note!r}")
        if summary is None and got[2] is not None:
            problems.append(f"id {id_}: summary {got[4]!r} (edited), expected the bank's {got[5]!r}")
        if summary is not None and got[4] != summary:
            problems.append(f"id {id_}: summary {got[4]!r}, expected {summary!r}")
    extra = {id_: got for id_, got in db.items() if id_ not in model}
    if extra and not imports:
        problems.append(f"{len(extra)} entries that no reported change made, e.g. "
                        f"{sorted(extra)[:5]} ({next(iter(extra.values()))[5]!r})")
    elif extra:
        by_file = {}
        for id_, got in extra.items():
            tag = got[5].split(" ")[1] if got[5].count(" ") == 2 else "?"
            by_file.setdefault(tag, []).append(got)
            if got[1] != 0 or got[2] is not None or got[3] != "":
                problems.append(f"new id {id_} is not as the bank gave it")
        seen_missing = False
        for f in imports:
            n = len(by_file.pop(f["file"], []))
            if n not in (0, f["expect"]):
                problems.append(f"file {f['file']}: {n} of {f['expect']} new lines are there "
                                "(half an import)")
            if n and seen_missing:
                problems.append(f"file {f['file']} is there, an earlier one of the same import not")
            seen_missing = seen_missing or (n == 0 and f["expect"] > 0)
        for tag, got in by_file.items():
            problems.append(f"{len(got)} new entries of {tag}, which no import in flight holds")
    return problems


def main():
    if sys.argv[1] == "snapshot":
        state = read(sys.argv[2])
        json.dump({str(k): v[:4] for k, v in state.items()}, sys.stdout)
        return 0
    _, _, snapshot, log, db_path = sys.argv
    with open(snapshot) as f:
        model = {int(k): v for k, v in json.load(f).items()}
    in_flight = None
    done = 0
    with open(log, encoding="utf-8", errors="replace") as f:
        for line in f:
            if not line.endswith("\n"):
                break  # cut by the kill
            if not line.strip():
                continue
            record = json.loads(line)
            if "begin" in record:
                in_flight = record
            elif "done" in record:
                for effect in record["done"]:
                    apply(model, effect)
                in_flight = None
                done += 1
            elif "fault" in record or "failed" in record:
                print(f"the driver said: {line.strip()}")
                return 1
    db = read(db_path)
    problems = differences(model, db)
    state = f"{done} changes done"
    if problems and in_flight:
        effects = in_flight["begin"]
        if effects and effects[0][0] == "import":
            second = differences(model, db, effects[0][1])
        else:
            after = {k: list(v) for k, v in model.items()}
            for effect in effects:
                apply(after, effect)
            second = differences(after, db)
        if not second:
            print(f"{state}, and the one in flight ({in_flight['what']}): {len(db)} entries")
            return 0
        problems = [f"not as after the {done} changes done: {problems[:3]}",
                    f"nor with the one in flight ({in_flight['what']}): {second[:3]}"]
    if problems:
        print("; ".join(problems[:6]))
        return 1
    print(f"{state}{' (one more was in flight, not made)' if in_flight else ''}: {len(db)} entries")
    return 0


if __name__ == "__main__":
    sys.exit(main())
