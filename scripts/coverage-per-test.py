#!/usr/bin/env python3
"""Which lines of src/ each test of the host suite reaches, and which only it reaches.

Usage: scripts/coverage-per-test.py [REGEX]     (after scripts/coverage.sh has built build/coverage)

Runs every test of the coverage preset (those whose name matches REGEX, if given) by itself, its
counters written under a folder of its own (GCOV_PREFIX), reads them with gcov and writes
build/coverage/per-test.json: for each test, the src/ lines, functions and branches it reaches.
Then prints, a test a line, how many src lines, functions and branches no other test of the run
reaches (a test at 0 0 0 runs nothing the others do not run: its checks may still be the only
ones of what it runs). Environment: TL_JOBS (default 2).
"""
import concurrent.futures
import json
import os
import re
import shutil
import subprocess
import sys
from collections import Counter

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.join(root, 'build', 'coverage')
scratch = os.path.join(build, 'per-test')
jobs = int(os.environ.get('TL_JOBS', '2'))


def tests():
    listing = subprocess.run(['ctest', '--preset', 'coverage', '--show-only=json-v1'], cwd=root,
                             capture_output=True, text=True, check=True)
    wanted = re.compile(sys.argv[1]) if len(sys.argv) > 1 else None
    found = json.loads(listing.stdout)['tests']
    return [t for t in found if 'command' in t and (not wanted or wanted.search(t['name']))]


def source_name(path):
    at = path.find('src/')
    return None if path.startswith('/usr') or at < 0 else path[at:]


def reached(index, test):
    folder = os.path.join(scratch, str(index))
    shutil.rmtree(folder, ignore_errors=True)
    env = dict(os.environ, GCOV_PREFIX=folder, GCOV_PREFIX_STRIP='0')
    cwd = None
    for prop in test.get('properties', []):
        if prop['name'] == 'ENVIRONMENT':
            env.update(value.split('=', 1) for value in prop['value'])
        elif prop['name'] == 'WORKING_DIRECTORY':
            cwd = prop['value']
    subprocess.run(test['command'], env=env, cwd=cwd, capture_output=True, timeout=1200)
    counters = []
    for directory, _, files in os.walk(folder):
        for name in files:
            if name.endswith('.gcda'):
                counters.append(os.path.join(directory, name))
                notes = counters[-1][len(folder):-len('.gcda')] + '.gcno'
                if os.path.exists(notes):
                    os.link(notes, counters[-1][:-len('.gcda')] + '.gcno')
    lines, functions, branches = set(), set(), set()
    for start in range(0, len(counters), 50):
        out = subprocess.run(['gcov', '--json-format', '--stdout', '-b'] +
                             counters[start:start + 50], cwd=folder, capture_output=True,
                             text=True).stdout
        for record in (json.loads(line) for line in out.splitlines() if line.startswith('{')):
            for file in record['files']:
                name = source_name(file['file'])
                if not name:
                    continue
                for line in file['lines']:
                    if line['count'] > 0:
                        lines.add(f"{name}:{line['line_number']}")
                    for number, branch in enumerate(line['branches']):
                        if branch['count'] > 0 and not branch.get('throw'):
                            branches.add(f"{name}:{line['line_number']}:{number}")
                for function in file['functions']:
                    if function['execution_count'] > 0:
                        functions.add(f"{name}:{function['demangled_name']}")
    shutil.rmtree(folder, ignore_errors=True)
    return test['name'], {'lines': sorted(lines), 'functions': sorted(functions),
                          'branches': sorted(branches)}


def main():
    if not os.path.isdir(build):
        sys.exit('coverage-per-test.py: build/coverage is missing; run scripts/coverage.sh first')
    selected = tests()
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        results = dict(pool.map(lambda item: reached(*item), enumerate(selected)))
    with open(os.path.join(build, 'per-test.json'), 'w') as out:
        json.dump(results, out, indent=0)
    kinds = ('lines', 'functions', 'branches')
    reach = {kind: Counter(x for result in results.values() for x in result[kind])
             for kind in kinds}
    print('only-lines only-functions only-branches test')
    for name, result in sorted(results.items()):
        only = [sum(1 for x in result[kind] if reach[kind][x] == 1) for kind in kinds]
        print(*only, name)


if __name__ == '__main__':
    main()
