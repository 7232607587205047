#!/usr/bin/python3
"""Writes a legacy TOLV folder of any size, for tests that need many rows.

    /usr/bin/python3 tests/support/make_legacy_folder.py FOLDER ROWS [VARIANT]

Every table the converters read gets ROWS rows (GRUPO at most 999: a group code
keeps three digits in the target). Row i is the i-th example row of
examples/make_examples.py taken in turn, so blank names, accents, masks, paid
documents and both companies recur at their usual share, with a code of its own
so that no two rows collide in the target. VARIANT (a letter, default "A") goes
into every non-blank name and document number: two folders of different variants
convert into different target rows. The same arguments give the same bytes.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'examples'))

import make_examples as ex  # noqa: E402  (field layouts and example rows)


def width(fields, name):
    kind = dict(fields)[name]
    return int(kind[2:-1].split(',')[0])


def marked(value, mark, size):
    """A non-blank text with the mark at its end, cut to the field's size."""
    if not isinstance(value, str) or not value.strip():
        return value
    return (value[:max(0, size - len(mark) - 1)] + ' ' + mark)[:size]


def rows_of(fields, examples, count, code_of, marks, variant):
    names = [n for n, _ in fields]
    out = []
    for i in range(count):
        row = list(examples[i % len(examples)])
        for column, value in code_of(i).items():
            row[names.index(column)] = value
        for column in marks:
            k = names.index(column)
            row[k] = marked(row[k], '%s%d' % (variant, i), width(fields, column))
        out.append(tuple(row))
    return out


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    folder, count = sys.argv[1], int(sys.argv[2])
    variant = sys.argv[3] if len(sys.argv) == 4 else 'A'
    os.makedirs(folder, exist_ok=True)
    customers, suppliers = max(count, 1), max(count, 1)
    tables = [
        ('CLIENTES.DBF', ex.CLIENTES_FIELDS, ex.CLIENTES_ROWS, count,
         lambda i: {'CODIGO': str(i + 1)}, ['RAZAOSOC', 'FANTASIA']),
        ('FORNEC.DBF', ex.FORNEC_FIELDS, ex.FORNEC_ROWS, count,
         lambda i: {'CODIGO': str(i + 1)}, ['RAZAOSOC', 'FANTASIA']),
        ('GRUPO.DBF', ex.GRUPO_FIELDS, ex.GRUPO_ROWS, min(count, 999),
         lambda i: {'CODIGO': '%04d' % (i + 1)}, ['DESCRICAO']),
        # The code is two digits of group and two of subgroup.
        ('SUBGRUPO.DBF', ex.SUBGRUPO_FIELDS, ex.SUBGRUPO_ROWS, min(count, 10000),
         lambda i: {'CODIGO': '%02d%02d' % divmod(i, 100)}, ['DESCRICAO']),
        ('FABRICA.DBF', ex.FABRICA_FIELDS, ex.FABRICA_ROWS, count,
         lambda i: {'CODIGO': str(i + 1)}, ['RAZAOSOC']),
        ('PR.DBF', ex.PR_FIELDS, ex.PR_ROWS, count,
         lambda i: {'CODITEM': '%06d' % (i + 1)}, ['DESCRICAO']),
        ('CR.DBF', ex.CR_FIELDS, ex.CR_ROWS, count,
         lambda i: {'CODCLI': i % customers + 1, 'NUMERO_DOC': '%s%06d' % (variant, i)}, []),
        ('CONTPAG.DBF', ex.CONTPAG_FIELDS, ex.CONTPAG_ROWS, count,
         lambda i: {'CODFOR': i % suppliers + 1, 'NUMERO_DOC': '%s%06d' % (variant, i)}, ['HISTORICO']),
    ]
    for name, fields, examples, n, code_of, marks in tables:
        ex.write_table(folder, name, fields, rows_of(fields, examples, n, code_of, marks, variant))


if __name__ == '__main__':
    main()
