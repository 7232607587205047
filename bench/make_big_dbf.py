#!/usr/bin/python3
"""Writes a large legacy-like dBase III table for the reader's benchmark.

    /usr/bin/python3 bench/make_big_dbf.py OUT_FOLDER [RECORDS]

OUT_FOLDER/CLIENTES.DBF: RECORDS records (default 500,000) of 26 fields (C, N, D, L),
cp850 text with Portuguese accents and no language driver (byte 29 = 0, as Clipper
left it, so the reader also has to guess the code page), one record in a hundred
deleted. Keys to order by: CODBARRAS rises with the record number, CODALEAT is a
random permutation of the record numbers, SALDO random amounts with repeats, and
DESCRICAO product descriptions in random order that share prefixes of 40 to 50
bytes. The bytes follow the dBase III layout (dbase-files.md); python3-dbf would
take minutes for half a million appends, so the records are formatted here and the
result is checked with Debian's python3-dbfread (header, field list, record count
and a sample of records decoded and compared with what was meant).
"""
import datetime
import os
import random
import struct
import sys

import dbfread

FIELDS = [  # name, type, length, decimals
    ("CODIGO", "C", 8, 0), ("RAZAOSOC", "C", 50, 0), ("FANTASIA", "C", 30, 0), ("ENDERECO", "C", 50, 0),
    ("BAIRRO", "C", 25, 0), ("CIDADE", "C", 25, 0), ("ESTADO", "C", 2, 0), ("CEP", "C", 9, 0),
    ("CGC", "C", 18, 0), ("INSC", "C", 18, 0), ("TELEFONE1", "C", 15, 0), ("CELULAR", "C", 15, 0),
    ("CONTATO", "C", 30, 0), ("EMAIL", "C", 40, 0), ("DATA_CAD", "D", 8, 0), ("DATA_ANI", "D", 8, 0),
    ("LIMITE", "N", 12, 2), ("SALDO", "N", 14, 2), ("DESCONTO", "N", 5, 2), ("QTDCOMPRAS", "N", 8, 0),
    ("ATIVO", "L", 1, 0), ("OBS", "C", 60, 0), ("CODEMP", "C", 2, 0), ("CODBARRAS", "N", 18, 0),
    ("CODALEAT", "N", 9, 0), ("DESCRICAO", "C", 70, 0),
]

NAMES = ["JOÃO", "MARIA", "JOSÉ", "CONCEIÇÃO", "ANTÔNIO", "FRANCISCO", "ANA", "LUÍS", "SEBASTIÃO", "CÉLIA"]
SURNAMES = ["DA SILVA", "DOS SANTOS", "DE ASSUNÇÃO", "GONÇALVES", "MAGALHÃES", "ARAÚJO", "PERES", "LEMOS"]
STREETS = ["RUA DAS FLORES", "AVENIDA SÃO PAULO", "TRAVESSA DA CONCEIÇÃO", "RUA BARÃO DE MAUÁ", "ALAMEDA GOIÁS"]
CITIES = [("SÃO PAULO", "SP"), ("RIO DE JANEIRO", "RJ"), ("BELÉM", "PA"), ("GOIÂNIA", "GO"), ("MACEIÓ", "AL")]
# Descriptions as a product table has them: a few long stems, the item told apart
# only at the end.
STEMS = ["REFRIGERANTE GUARANÁ ANTÁRTICA LATA 350ML PACK ", "CERVEJA PILSEN GARRAFA LONG NECK 355ML CAIXA ",
         "BISCOITO RECHEADO CHOCOLATE PACOTE 140G FARDO ", "SABÃO EM PÓ MULTIAÇÃO CAIXA 1KG EMBALAGEM "]


def values(i, rnd, aleat):
    name = "%s %s" % (rnd.choice(NAMES), rnd.choice(SURNAMES))
    city, uf = rnd.choice(CITIES)
    cad = datetime.date(1990, 1, 1) + datetime.timedelta(days=rnd.randrange(12000))
    ani = "" if i % 7 == 0 else (datetime.date(1940, 1, 1) + datetime.timedelta(days=rnd.randrange(20000))).strftime("%Y%m%d")
    return [
        "%06d" % i, name, name.split()[0].title(), "%s, %d" % (rnd.choice(STREETS), rnd.randrange(1, 3000)),
        "CENTRO" if i % 3 else "VILA NOVA", city, uf, "%05d-%03d" % (rnd.randrange(100000), rnd.randrange(1000)),
        "%03d.%03d.%03d-%02d" % (rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(100)),
        "ISENTO" if i % 2 else "%012d" % rnd.randrange(10 ** 12), "(11) 3%03d-%04d" % (rnd.randrange(1000), rnd.randrange(10000)),
        "(11) 9%04d-%04d" % (rnd.randrange(10000), rnd.randrange(10000)), rnd.choice(NAMES).title(),
        "cliente%d@exemplo.com.br" % i, cad.strftime("%Y%m%d"), ani,
        "%.2f" % (rnd.randrange(100000) / 100), "%.2f" % (rnd.randrange(-10 ** 7, 10 ** 7) / 100),
        "%.2f" % (rnd.randrange(1000) / 100), "%d" % rnd.randrange(500), "T" if i % 5 else "F",
        "OBSERVAÇÃO %d: PAGA EM DIA, NÃO ATRASA" % i, "01" if i % 4 else "02",
        "%d" % (789000000000000000 + i * 7919), "%d" % aleat,
        "%s%02d UN LOTE %06d" % (rnd.choice(STEMS), rnd.randrange(1, 25), rnd.randrange(10 ** 6)),
    ]


def encode(fields, vals):
    out = bytearray(b" ")
    for (name, kind, length, dec), v in zip(fields, vals):
        b = v.encode("cp850")
        if kind in "N":
            b = b.rjust(length)
        else:
            b = b.ljust(length)
        assert len(b) == length, (name, v)
        out += b
    return bytes(out)


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 500000
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "CLIENTES.DBF")
    rec_len = 1 + sum(f[2] for f in FIELDS)
    hdr_len = 32 + 32 * len(FIELDS) + 1
    header = bytearray(32)
    header[0] = 0x03
    header[1:4] = bytes([124, 12, 2])
    header[4:8] = struct.pack("<I", count)
    header[8:10] = struct.pack("<H", hdr_len)
    header[10:12] = struct.pack("<H", rec_len)
    header[29] = 0  # no language driver
    for name, kind, length, dec in FIELDS:
        d = bytearray(32)
        d[0:len(name)] = name.encode("ascii")
        d[11] = ord(kind)
        d[16] = length
        d[17] = dec
        header += d
    header += b"\r"
    rnd = random.Random(2024)
    aleat = list(range(1, count + 1))
    rnd.shuffle(aleat)
    first = []
    with open(path, "wb") as f:
        f.write(header)
        chunk = []
        for i in range(count):
            vals = values(i + 1, rnd, aleat[i])
            rec = encode(FIELDS, vals)
            if i % 100 == 99:
                rec = b"*" + rec[1:]
            elif len(first) < 200:
                first.append(vals)
            chunk.append(rec)
            if len(chunk) == 10000:
                f.write(b"".join(chunk))
                chunk = []
        f.write(b"".join(chunk))
        f.write(b"\x1a")

    # Check with python3-dbfread: the header, the fields, the size, and the first
    # live records (deleted ones skipped) decoded back to what was meant.
    t = dbfread.DBF(path, encoding="cp850", char_decode_errors="strict", load=False)
    assert [f.name for f in t.fields] == [f[0] for f in FIELDS], "fields"
    assert t.header.numrecords == count and t.header.recordlen == rec_len, "header"
    assert os.path.getsize(path) == hdr_len + count * rec_len + 1, "size"
    for vals, rec in zip(first, t):
        assert rec["CODIGO"] == vals[0] and rec["RAZAOSOC"] == vals[1] and rec["CIDADE"] == vals[5], rec
        assert str(rec["CODBARRAS"]) == vals[23] and rec["OBS"] == vals[21], rec
        assert str(rec["CODALEAT"]) == vals[24] and rec["DESCRICAO"] == vals[25], rec
        assert (rec["DATA_ANI"].strftime("%Y%m%d") if rec["DATA_ANI"] else "") == vals[15], rec
    print("%s: %d records (%d deleted), %d fields, %d bytes a record, %.1f MB" % (
        path, count, count // 100, len(FIELDS), rec_len, os.path.getsize(path) / 1e6))


if __name__ == "__main__":
    main()
