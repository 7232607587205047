#!/usr/bin/python3
"""Writes a corpus of broken legacy folders, each a copy of one valid TOLV folder
with one table damaged the way field copies are: cut short, lying headers, memo
pointers into nowhere, garbage values, a table that is a folder or cannot be read.

    /usr/bin/python3 tests/hostile/make_broken.py OUT [CASE ...]
    /usr/bin/python3 tests/hostile/make_broken.py --lista

OUT/base/ is the valid folder: the rows of the example folder
(examples/make_examples.py), written by Debian's python3-dbf, with the customers'
OBS1 as a dBase III memo. OUT/<case>/ is base with the damage of that case (every
case when none is named). OUT/casos.txt lists the cases written, one a line.

The damage is done byte by byte from the documented layout of the files
(/work/shared/notes/dbase-files.md): python3-dbf writes the valid tables and this
script breaks them, so no table here is written by the reader it tests.
"""
import datetime
import os
import shutil
import struct
import sys

import dbf

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples"))
import make_examples as ex  # noqa: E402  (the rows of the example folder)

D = datetime.date
CODEPAGE = "cp850"


# ---------------------------------------------------------------- valid tables

def layout(fields):
    return "; ".join("%s %s" % f for f in fields)


def write(path, fields, rows, dbf_type="db3"):
    t = dbf.Table(path, layout(fields), dbf_type=dbf_type, codepage=CODEPAGE)
    t.open(dbf.READ_WRITE)
    for r in rows:
        t.append(r)
    t.close()
    with open(path, "r+b") as f:  # a fixed update date: the same bytes on every run
        f.seek(1)
        f.write(bytes([124, 12, 2]))


CLIENTES_MEMO = [(n, "M" if n == "OBS1" else k) for n, k in ex.CLIENTES_FIELDS]
# The customers again, with the SPC1 flag as a logical field, as some installations kept it.
CLIENTES_LOGICO = [(n, "L" if n == "SPC1" else k) for n, k in CLIENTES_MEMO]


def logical_rows():
    return [r[:19] + (i % 2 == 0,) + r[20:] for i, r in enumerate(ex.CLIENTES_ROWS)]


BASE = {  # file name: (fields, rows)
    "CLIENTES.DBF": (CLIENTES_MEMO, ex.CLIENTES_ROWS),
    "FORNEC.DBF": (ex.FORNEC_FIELDS, ex.FORNEC_ROWS),
    "GRUPO.DBF": (ex.GRUPO_FIELDS, ex.GRUPO_ROWS),
    "SUBGRUPO.DBF": (ex.SUBGRUPO_FIELDS, ex.SUBGRUPO_ROWS),
    "FABRICA.DBF": (ex.FABRICA_FIELDS, ex.FABRICA_ROWS),
    "PR.DBF": (ex.PR_FIELDS, ex.PR_ROWS),
    "CR.DBF": (ex.CR_FIELDS, ex.CR_ROWS),
    "CONTPAG.DBF": (ex.CONTPAG_FIELDS, ex.CONTPAG_ROWS),
}


def write_base(folder):
    os.makedirs(folder)
    for name, (fields, rows) in BASE.items():
        write(os.path.join(folder, name), fields, rows)


# ---------------------------------------------------------------- bytes

def load(path):
    with open(path, "rb") as f:
        return bytearray(f.read())


def save(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Layout:
    """Header length, record length, record count and the descriptors of a table."""

    def __init__(self, d):
        self.count = struct.unpack("<I", d[4:8])[0]
        self.hlen, self.rlen = struct.unpack("<HH", d[8:12])
        self.fields = []  # (name, position of the descriptor, offset in the record, length)
        pos, off = 32, 1
        while d[pos] != 0x0D:
            length = d[pos + 16]
            self.fields.append((d[pos:pos + 11].split(b"\0")[0].decode("ascii"), pos, off, length))
            off += length
            pos += 32

    def field(self, name):
        return next(f for f in self.fields if f[0] == name)

    def cell(self, rec, name):
        _, _, off, length = self.field(name)
        start = self.hlen + rec * self.rlen + off
        return start, start + length


def set_cell(d, rec, name, raw):
    start, end = Layout(d).cell(rec, name)
    assert len(raw) == end - start, (name, raw)
    d[start:end] = raw


def resize_field(d, name, length, kind=None, value=lambda old, length: old[:length].ljust(length)):
    """The table rewritten with one field of another length (and type): every
    record rebuilt, so that the header and the records agree with each other."""
    lay = Layout(d)
    _, dpos, off, old = lay.field(name)
    out = bytearray(d[:lay.hlen])
    out[dpos + 16] = length
    if kind:
        out[dpos + 11] = ord(kind)
    out[10:12] = struct.pack("<H", lay.rlen - old + length)
    for rec in range(lay.count):
        r = d[lay.hlen + rec * lay.rlen:lay.hlen + (rec + 1) * lay.rlen]
        out += r[:off] + value(bytes(r[off:off + old]), length) + r[off + old:]
    return out + b"\x1a"


# ---------------------------------------------------------------- the cases

def in_table(name):
    """A case that rewrites the bytes of one table of the folder."""
    def wrap(fn):
        def run(folder):
            p = os.path.join(folder, name)
            d = fn(load(p))
            if d is not None:
                save(p, d)
        return run
    return wrap


CASES = {}


def case(name, table=None):
    def wrap(fn):
        CASES[name] = in_table(table)(fn) if table else fn
        return fn
    return wrap


# -- the header

@case("cabecalho-cortado", "GRUPO.DBF")
def _(d):
    return d[:20]  # not even the 32 bytes of the fixed header


@case("descritores-cortados", "GRUPO.DBF")
def _(d):
    return d[:45]  # cut in the first field descriptor


@case("cabecalho-alem-do-arquivo", "GRUPO.DBF")
def _(d):
    d[8:10] = struct.pack("<H", 0xFFFF)
    return d


@case("registro-menor-que-os-campos", "FORNEC.DBF")
def _(d):
    d[10:12] = struct.pack("<H", Layout(d).rlen - 7)
    return d


@case("registro-maior-que-os-campos", "FORNEC.DBF")
def _(d):
    d[10:12] = struct.pack("<H", Layout(d).rlen + 3)
    return d


@case("sem-terminador", "SUBGRUPO.DBF")
def _(d):
    # The 0x0D overwritten by text that a program left there, which the header's
    # length takes in as if it were one more field descriptor.
    lay = Layout(d)
    end = 32 + 32 * len(lay.fields)
    out = d[:end] + b"LIXO DE OUTRO PROGRAMA QUALQUER." + d[end + 1:lay.hlen] + d[lay.hlen:]
    out[8:10] = struct.pack("<H", lay.hlen + 31)
    return out


@case("sem-terminador-tolerado", "SUBGRUPO.DBF")
def _(d):
    # No 0x0D at all: the header ends right after the last descriptor, which
    # some writers do. The records are where the header says: read as they are.
    lay = Layout(d)
    end = 32 + 32 * len(lay.fields)
    out = d[:end] + d[lay.hlen:]
    out[8:10] = struct.pack("<H", end)
    return out


@case("sem-campos", "FABRICA.DBF")
def _(d):
    lay = Layout(d)
    out = d[:32] + b"\x0d" + d[lay.hlen:]
    out[8:10] = struct.pack("<H", 33)
    return out


@case("campo-de-tamanho-zero", "SUBGRUPO.DBF")
def _(d):
    return resize_field(d, "DESCRICAO", 0)


@case("data-de-dez-bytes", "CR.DBF")
def _(d):
    return resize_field(d, "EMISSAO", 10, value=lambda old, n: old.rjust(n))


@case("logico-de-tres-bytes")
def _(folder):
    p = os.path.join(folder, "CLIENTES.DBF")
    write(p, CLIENTES_LOGICO, logical_rows())
    save(p, resize_field(load(p), "SPC1", 3))


@case("numero-de-quarenta-bytes", "PR.DBF")
def _(d):
    # Wider than any dBase writes a number, but every digit is there: read exactly.
    return resize_field(d, "PVENDA", 40, value=lambda old, n: old.rjust(n))


@case("versao-dbase7", "GRUPO.DBF")
def _(d):
    d[0] = 0x04
    return d


@case("tipo-desconhecido", "GRUPO.DBF")
def _(d):
    d[Layout(d).field("DESCRICAO")[1] + 11] = ord("W")
    return d


# -- the record count and the records

@case("contagem-mais-um", "PR.DBF")
def _(d):
    d[4:8] = struct.pack("<I", Layout(d).count + 1)
    return d


@case("contagem-muito-alem", "PR.DBF")
def _(d):
    d[4:8] = struct.pack("<I", 0xFFFFFFFF)
    return d


@case("cortado-no-ultimo-registro", "FORNEC.DBF")
def _(d):
    start, _ = Layout(d).cell(len(ex.FORNEC_ROWS) - 1, "TELEFONE1")
    return d[:start + 5]  # the file ends inside the last record's phone


@case("cortado-no-meio", "CONTPAG.DBF")
def _(d):
    start, _ = Layout(d).cell(2, "VALOR")
    return d[:start]  # three records missing


@case("marca-de-registro-invalida", "GRUPO.DBF")
def _(d):
    lay = Layout(d)
    d[lay.hlen + 2 * lay.rlen] = ord("X")
    return d


@case("fim-de-arquivo-no-meio", "SUBGRUPO.DBF")
def _(d):
    lay = Layout(d)
    d[lay.hlen + 3 * lay.rlen] = 0x1A
    return d


@case("lixo-depois-do-fim", "FABRICA.DBF")
def _(d):
    return d + b"restos de uma copia anterior \x00\xff"  # after the 0x1A: not records


# -- values

@case("numero-com-lixo", "PR.DBF")
def _(d):
    set_cell(d, 2, "PVENDA", b"       18X75")
    return d


@case("data-com-lixo", "CR.DBF")
def _(d):
    set_cell(d, 1, "EMISSAO", b"2024AB05")
    return d


@case("data-impossivel", "CR.DBF")
def _(d):
    set_cell(d, 2, "VENCIMENTO", b"20240231")
    return d


@case("logico-com-lixo")
def _(folder):
    p = os.path.join(folder, "CLIENTES.DBF")
    write(p, CLIENTES_LOGICO, logical_rows())
    d = load(p)
    set_cell(d, 3, "SPC1", b"X")
    save(p, d)


# -- memos

@case("memo-alem-do-arquivo", "CLIENTES.DBF")
def _(d):
    set_cell(d, 1, "OBS1", b"      9999")
    return d


@case("memo-ausente")
def _(folder):
    os.remove(os.path.join(folder, "CLIENTES.DBT"))


@case("memo-bloco-zero")
def _(folder):
    # FoxPro keeps the block size of its memo file in bytes 6-7 of the .fpt.
    p = os.path.join(folder, "CLIENTES.DBF")
    os.remove(p)
    os.remove(os.path.join(folder, "CLIENTES.DBT"))
    write(p, CLIENTES_MEMO, ex.CLIENTES_ROWS, dbf_type="fp")
    fpt = os.path.join(folder, "CLIENTES.FPT")
    m = load(fpt)
    m[6:8] = b"\0\0"
    save(fpt, m)


# -- files

@case("arquivo-vazio", "FABRICA.DBF")
def _(d):
    return bytearray()


@case("nao-e-tabela", "FORNEC.DBF")
def _(d):
    return bytearray(b"Relatorio de fornecedores impresso em 02/12/2024\r\n" * 4)


@case("tabela-e-pasta")
def _(folder):
    p = os.path.join(folder, "GRUPO.DBF")
    os.remove(p)
    os.makedirs(p)


@case("tabela-e-fifo")
def _(folder):
    # Opening a named pipe for reading waits for a writer that never comes.
    p = os.path.join(folder, "GRUPO.DBF")
    os.remove(p)
    os.mkfifo(p)


@case("link-quebrado")
def _(folder):
    p = os.path.join(folder, "GRUPO.DBF")
    os.remove(p)
    os.symlink("/nao/existe/GRUPO.DBF", p)


@case("tabela-ilegivel")
def _(folder):
    # No permission at all. Root reads it anyway; the test takes that privilege
    # away from the program it runs.
    os.chmod(os.path.join(folder, "GRUPO.DBF"), 0)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--lista":
        print("\n".join(CASES))
        return
    out = sys.argv[1]
    names = sys.argv[2:] or list(CASES)
    unknown = [n for n in names if n not in CASES]
    if unknown:
        sys.exit("unknown cases: " + ", ".join(unknown))
    os.makedirs(out, exist_ok=True)
    base = os.path.join(out, "base")
    if os.path.exists(base):
        shutil.rmtree(base)
    write_base(base)
    for name in names:
        folder = os.path.join(out, name)
        if os.path.exists(folder):
            shutil.rmtree(folder)
        shutil.copytree(base, folder)
        CASES[name](folder)
    with open(os.path.join(out, "casos.txt"), "w") as f:
        f.write("".join(n + "\n" for n in names))


if __name__ == "__main__":
    main()
