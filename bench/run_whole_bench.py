#!/usr/bin/python3
"""The whole-run benchmark: a large legacy folder converted by the console front end
into fresh Norvale databases, against the floor of the same rows.

    /usr/bin/python3 bench/run_whole_bench.py [--build BUILD] [--pasta FOLDER]
        [--reusar] [--so-todos] [--sem-comparacao] [--conferencia] [--repeticoes N]
        [--escala F] [--clientes N] ... [--fabricantes N]

Generates the folder with bench/make_legacy_folder.py (the size options are its
own; --reusar keeps a folder already there), then, with the statement cache on and
again with it off (CONVERSOR_TOLV_CACHE=0):
  - `conversor-tolv-cli --origem FOLDER --destino DB todos` into a fresh database:
    wall time, rows per second, peak resident memory (the process's maxrss);
  - each kind the program offers alone, one after another into one fresh database
    (the same order and the same rows as `todos`, one process each), for the time
    of each kind;
  - `todos` over an empty folder, for what a run costs whatever its rows (process,
    attach, commit);
and the floor: every row the `todos` run wrote, written again into a fresh database
by one prepared insert per table in one transaction (build/bench/bench_floor).
With --conferencia, `todos` again without the reconciliation before the commit
(CONVERSOR_TOLV_CONFERENCIA=0), for what that check costs.
Every measurement is taken --repeticoes times (default 3), the runs and the floor in
turn, and the least wall time and the least CPU time of each are kept: on shared
cores a single run swings by a third, while the least of three is steady.
Prints the table and the ratios run/floor and cache-off/run. Kinds the program
does not offer yet are left out, so the script can be rerun as converters land.
Everything goes to bench/out/ (not versioned).
"""
import argparse
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Console name of each kind, in the run's order, and the target tables it writes.
KINDS = [
    ('cliente', ['CLIENTE']),
    ('fornecedor', ['FORNECE', 'CIDADES']),
    ('grupo', ['GRUPROD']),
    ('subgrupo', ['SUBGRUP']),
    ('produto', ['PRODUTO', 'COMPPROD', 'PRODUTODETALHE', 'NATRECEITA', 'UNIDADES']),
    ('receber', ['DOCUREC', 'MOVIREC']),
    ('pagar', ['DOCUPAG', 'MOVIPAG']),
    ('fabricante', ['CADFABR']),
]
SIZE_OPTIONS = ['clientes', 'fornecedores', 'grupos', 'subgrupos', 'produtos', 'receber', 'pagar', 'fabricantes']


def fresh_db(path):
    if os.path.exists(path):
        os.remove(path)
    subprocess.run(['bash', os.path.join(ROOT, 'scripts', 'create-db.sh'), path], check=True,
                   stdout=subprocess.DEVNULL)


def best(runs):
    """The least wall and CPU time of repeated runs, the highest peak memory."""
    b = runs[0]
    for r in runs[1:]:
        b.wall, b.cpu, b.rss = min(b.wall, r.wall), min(b.cpu, r.cpu), max(b.rss, r.rss)
    return b


class Run:
    """What one process took: wall and CPU seconds (user + system; the embedded
    engine works inside the process, and CPU time stays steady on a busy machine),
    peak resident memory in MB, and what it printed."""

    def __init__(self, cmd, env=None, log=None):
        start = time.monotonic()
        with open(log or os.devnull, 'w') as err:
            p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=err, env=env)
            self.out = p.stdout.read().decode('utf-8', 'replace')
            _, status, usage = os.wait4(p.pid, 0)
        self.code = os.waitstatus_to_exitcode(status)
        self.wall = time.monotonic() - start
        self.cpu = usage.ru_utime + usage.ru_stime
        self.rss = usage.ru_maxrss / 1024.0


def summary(out):
    """{kind name: (read, written)} from the console's summary."""
    rows = {}
    for m in re.finditer(r'^  (.+): lidos (\d+), gravados (\d+)', out, re.M):
        rows[m.group(1)] = (int(m.group(2)), int(m.group(3)))
    return rows


def convert(cli, folder, db, kinds, cache, log, check=True):
    env = dict(os.environ)
    if not cache:
        env['CONVERSOR_TOLV_CACHE'] = '0'
    if not check:
        env['CONVERSOR_TOLV_CONFERENCIA'] = '0'
    r = Run([cli, '--origem', folder, '--destino', db] + kinds, env, log)
    if r.code not in (0, 3):
        sys.exit('conversion failed (%d): %s\n%s' % (r.code, ' '.join(kinds), r.out))
    r.rows = summary(r.out)
    r.read = sum(n for n, _ in r.rows.values())
    return r


def offered(cli):
    """The kinds this build converts: the console refuses the others by name."""
    return [name for name, _ in KINDS
            if Run([cli, '--origem', '/nonexistent', '--destino', '/nonexistent/x.fb', name]).code != 2]


def floor(tool, converted, fresh):
    """{table: (rows, wall, cpu)}, with 'TOTAL'."""
    fresh_db(fresh)
    out = subprocess.run([tool, converted, fresh], check=True, stdout=subprocess.PIPE).stdout.decode()
    tables = {}
    for line in out.splitlines():
        name, rows, wall, cpu = line.split()
        tables[name] = (int(rows), float(wall), float(cpu))
    return tables


def best_floor(floors):
    """Per table, the least wall and the least CPU time of repeated floors."""
    return {t: (v[0], min(f[t][1] for f in floors), min(f[t][2] for f in floors)) for t, v in floors[0].items()}


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('--build', default=os.path.join(ROOT, 'build'))
    p.add_argument('--pasta', default=os.path.join(ROOT, 'bench', 'out', 'tolv'))
    p.add_argument('--reusar', action='store_true')
    p.add_argument('--so-todos', action='store_true', help='no run per kind')
    p.add_argument('--sem-comparacao', action='store_true',
                   help='no runs with the statement cache off (they take four times as long)')
    p.add_argument('--conferencia', action='store_true',
                   help='also `todos` without the reconciliation before the commit, for what it costs')
    p.add_argument('--repeticoes', type=int, default=3,
                   help='times each measurement is taken; the least time of each is kept')
    p.add_argument('--escala')
    for o in SIZE_OPTIONS:
        p.add_argument('--' + o)
    a = p.parse_args()
    cli = os.path.join(a.build, 'conversor-tolv-cli')
    tool = os.path.join(a.build, 'bench', 'bench_floor')
    for f in (cli, tool):
        if not os.access(f, os.X_OK):
            sys.exit('%s is missing: build first (make build)' % f)
    out = os.path.join(ROOT, 'bench', 'out')
    os.makedirs(out, exist_ok=True)

    if not (a.reusar and os.path.isdir(a.pasta)):
        gen = ['/usr/bin/python3', os.path.join(HERE, 'make_legacy_folder.py'), a.pasta]
        for o in ['escala'] + SIZE_OPTIONS:
            if getattr(a, o) is not None:
                gen += ['--' + o, getattr(a, o)]
        subprocess.run(gen, check=True)

    kinds = offered(cli)
    print('\nkinds offered by this build: %s' % ', '.join(kinds))
    # What a run costs whatever its rows: the process, the attach, the commit.
    empty = os.path.join(out, 'vazia')
    subprocess.run(['/usr/bin/python3', os.path.join(HERE, 'make_legacy_folder.py'), empty] +
                   [x for o in SIZE_OPTIONS for x in ('--' + o, '0')], check=True, stdout=subprocess.DEVNULL)
    fixed_db = os.path.join(out, 'vazia.fb')
    fixed_runs, whole_runs, alone_runs, unchecked_runs, floors, off_floors = [], {}, {}, [], [], []
    for n in range(max(a.repeticoes, 1)):
        fresh_db(fixed_db)
        fixed_runs.append(convert(cli, empty, fixed_db, ['todos'], True, os.path.join(out, 'vazia.log')))
        for cache in ((True,) if a.sem_comparacao else (True, False)):
            tag = 'cache' if cache else 'semcache'
            db = os.path.join(out, 'todos-%s.fb' % tag)
            fresh_db(db)
            r = convert(cli, a.pasta, db, ['todos'], cache, os.path.join(out, 'todos-%s.log' % tag))
            whole_runs.setdefault(cache, []).append(r)
            print('%s, round %d: todos in %.2f s (%.2f s CPU), peak %.1f MB' % (tag, n + 1, r.wall, r.cpu, r.rss))
            if not a.so_todos:
                kdb = os.path.join(out, 'tipos-%s.fb' % tag)
                fresh_db(kdb)
                for k in kinds:
                    alone_runs.setdefault(cache, {}).setdefault(k, []).append(
                        convert(cli, a.pasta, kdb, [k], cache, os.path.join(out, '%s-%s.log' % (k, tag))))
        if a.conferencia:
            db = os.path.join(out, 'todos-semconferencia.fb')
            fresh_db(db)
            unchecked_runs.append(convert(cli, a.pasta, db, ['todos'], True,
                                          os.path.join(out, 'todos-semconferencia.log'), False))
        floors.append(floor(tool, os.path.join(out, 'todos-cache.fb'), os.path.join(out, 'piso.fb')))
        print('floor, round %d: %.2f s (%.2f s CPU)' % (n + 1, floors[-1]['TOTAL'][1], floors[-1]['TOTAL'][2]))
        if not a.sem_comparacao:
            off_floors.append(floor(tool, os.path.join(out, 'todos-semcache.fb'),
                                    os.path.join(out, 'piso-semcache.fb')))
    fixed = best(fixed_runs)
    whole = {c: best(rs) for c, rs in whole_runs.items()}
    alone = {c: {k: best(rs) for k, rs in ks.items()} for c, ks in alone_runs.items()}
    alone.setdefault(True, {})
    tables = best_floor(floors)
    if off_floors and {t: v[0] for t, v in tables.items()} != {t: v[0] for t, v in off_floors[0].items()}:
        print('WARNING: the runs with and without the cache wrote different row counts')
    if unchecked_runs:
        unchecked = best(unchecked_runs)
        print('without the reconciliation: todos in %.2f s (%.2f s CPU), peak %.1f MB' % (
            unchecked.wall, unchecked.cpu, unchecked.rss))
        print('the reconciliation costs %.1f%% of the run in CPU (%.1f%% in wall time)' % (
            100 * (whole[True].cpu / unchecked.cpu - 1), 100 * (whole[True].wall / unchecked.wall - 1)))

    on, off = whole[True], whole.get(False)
    written, fwall, fcpu = tables['TOTAL']
    print('\nWhole run (`todos`), %d source rows read, %d target rows written; the least of %d rounds:' % (
        on.read, written, max(a.repeticoes, 1)))
    print('| | wall s | CPU s | source rows/s | target rows/s | peak RSS |')
    print('|---|---|---|---|---|---|')
    for label, r in (('cache on', on), ('cache off', off)):
        if r is None:
            continue
        print('| %s | %.2f | %.2f | %.0f | %.0f | %.1f MB |' % (label, r.wall, r.cpu, on.read / r.wall,
                                                              written / r.wall, r.rss))
    print('| floor: one prepared insert a table | %.2f | %.2f | | %.0f | |' % (fwall, fcpu, written / fwall))
    print('| fixed cost of a run (an empty folder) | %.2f | %.2f | | | %.1f MB |' % (fixed.wall, fixed.cpu, fixed.rss))
    print('\nrun/floor: %.2f wall, %.2f CPU (without the fixed cost: %.2f wall, %.2f CPU)' % (
        on.wall / fwall, on.cpu / fcpu, max(on.wall - fixed.wall, 0) / fwall, max(on.cpu - fixed.cpu, 0) / fcpu))
    if off:
        print('cache-off/run: %.2f wall, %.2f CPU' % (off.wall / on.wall, off.cpu / on.cpu))

    if alone[True]:
        print('\nEach kind alone (one process each, in the run order, into one database; ratios in CPU time):')
        print('| kind | source rows | target rows | wall s | CPU s | source rows/s | cache off: wall s | CPU s | '
              'floor CPU s | run/floor | without the fixed cost | cache-off/run | peak RSS |')
        print('|---|---|---|---|---|---|---|---|---|---|---|---|---|')
        for k, ktables in KINDS:
            if k not in alone[True]:
                continue
            r, o = alone[True][k], alone.get(False, {}).get(k)
            trows = sum(tables.get(t, (0, 0, 0))[0] for t in ktables)
            fc = sum(tables.get(t, (0, 0, 0))[2] for t in ktables)
            print('| %s | %d | %d | %.2f | %.2f | %.0f | %.2f | %.2f | %.2f | %s | %s | %.2f | %.1f MB |' % (
                k, r.read, trows, r.wall, r.cpu, r.read / r.wall, o.wall if o else 0, o.cpu if o else 0, fc,
                '%.2f' % (r.cpu / fc) if fc > 0 else '-',
                '%.2f' % (max(r.cpu - fixed.cpu, 0) / fc) if fc > 0 else '-',
                o.cpu / r.cpu if o and r.cpu else 0, r.rss))
    print('\nfloor per table (rows, wall s, CPU s): ' + ', '.join(
        '%s %d %.2f %.2f' % (t, n, w, c) for t, (n, w, c) in tables.items() if t != 'TOTAL'))


if __name__ == '__main__':
    main()
