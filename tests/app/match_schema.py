#!/usr/bin/env python3
"""Checks every run report the tests kept against the report's JSON Schema.

  match_schema.py SCHEMA FOLDER

Each report lies in a folder of its test program's own under FOLDER; a folder without a single
report fails, so that a test program that stopped writing them is noticed.
"""
import json
import pathlib
import sys

import jsonschema

schema = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
reports = sorted(pathlib.Path(sys.argv[2]).rglob("*.json"))
failed = not reports
if not reports:
    print(f"no reports in {sys.argv[2]}")
for report in reports:
    errors = list(validator.iter_errors(json.loads(report.read_bytes().decode("utf-8"))))
    for error in errors:
        print(f"{report}: /{'/'.join(map(str, error.absolute_path))}: {error.message}")
    failed = failed or bool(errors)
print(f"{len(reports)} reports checked against {sys.argv[1]}")
sys.exit(1 if failed else 0)
