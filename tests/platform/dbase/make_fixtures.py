#!/usr/bin/python3
"""Writes the dBase fixtures of the reader's tests into the folder given as argument.

The tables are written by an independent writer, Debian's python3-dbf. What it cannot
write (dBase IV memo blocks, tables without a language driver, broken files, values
the writer refuses: garbage numbers, impossible dates, 18-digit codes it would pass
through a float) is written or patched here byte by byte from the documented layout
(/work/shared/notes/dbase-files.md), and every such table is read back with Debian's
python3-dbfread, a second independent reader, before the tests use it.

Layout of the folder:
  <dir>/                      tables of the reader's tests (types, code pages, damage)
  <dir>/tolv/                 one table per converter statement (CLIENTES ... ContPag)
  <dir>/duplo/                Dup.dbf and DUP.DBF: a name that differs only by case
  <dir>/vazia/                an empty folder
"""
import datetime
import decimal
import os
import shutil
import struct
import sys

import dbf
import dbfread

OUT = sys.argv[1]

# Portuguese text with every accent the tests look for: ç, ã, õ, é, Á, Ç, Ã, Õ.
PT = "AÇÃO ação São João Conceição Áurea é õ Õ Ç"
PT_ROWS = [PT, "JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO Nº 10", "Maçã e Pêssego"]
# cp437 holds no ã, õ, Á: its own sample.
PT437 = "açúcar é ç Ç à ê ô ª º"


def path(*parts):
    return os.path.join(OUT, *parts)


def write(p, layout, rows, dbf_type="db3", codepage="cp850", deleted=()):
    """A table written by python3-dbf."""
    for ext in (".dbf", ".dbt", ".fpt", ".DBF", ".DBT", ".FPT"):
        base = os.path.splitext(p)[0]
        if os.path.exists(base + ext):
            os.remove(base + ext)
    t = dbf.Table(p, layout, dbf_type=dbf_type, codepage=codepage)
    t.open(dbf.READ_WRITE)
    for r in rows:
        t.append(r)
    for i, rec in enumerate(t):
        if i in deleted:
            dbf.delete(rec)
    t.close()
    # python3-dbf names the file in lower case when given ".dbf"; keep the name asked.
    return p


def header(p):
    with open(p, "rb") as f:
        d = f.read()
    count = struct.unpack("<I", d[4:8])[0]
    hlen, rlen = struct.unpack("<HH", d[8:12])
    fields = {}
    pos, off = 32, 1
    while d[pos] != 0x0D:
        name = d[pos:pos + 11].split(b"\0")[0].decode("ascii")
        length = d[pos + 16]
        if chr(d[pos + 11]) == "C":
            length += 256 * d[pos + 17]
        fields[name] = (off, length)
        off += length
        pos += 32
    return d, count, hlen, rlen, fields


def memo_of(p):
    """The memo file python3-dbf wrote beside the table (its extension follows the case)."""
    folder, name = os.path.split(p)
    stem = os.path.splitext(name)[0].lower()
    for f in os.listdir(folder):
        if f.lower() in (stem + ".dbt", stem + ".fpt"):
            return os.path.join(folder, f)
    raise FileNotFoundError("memo of " + p)


def patch_field(p, rec, name, raw):
    """Overwrites one field of one record (0-based) with raw bytes of its length."""
    d, count, hlen, rlen, fields = header(p)
    off, length = fields[name]
    assert len(raw) == length, (name, raw, length)
    at = hlen + rec * rlen + off
    d = d[:at] + raw + d[at + length:]
    with open(p, "wb") as f:
        f.write(d)


def patch(p, at, raw):
    with open(p, "rb") as f:
        d = f.read()
    d = d[:at] + raw + d[at + len(raw):]
    with open(p, "wb") as f:
        f.write(d)


def set_byte(p, at, value):
    patch(p, at, bytes([value]))


def read(p, **kw):
    return list(dbfread.DBF(p, **kw))


def check(cond, what):
    if not cond:
        sys.exit("fixture check failed: " + what)


# ---------------------------------------------------------------- field types

def types_db3():
    """dBase III with .dbt memo (0x83), cp850: C N F D L M, a deleted record, nulls."""
    p = path("TIPOS.DBF")
    long_memo = "Linha de observação número %02d\r\n"
    memo = "".join(long_memo % i for i in range(1, 31))  # about 1 KB: three blocks
    write(p, "NOME C(20); QTD N(6,0); PRECO N(10,2); TAXA F(12,4); DIA D; ATIVO L; OBS M", [
        ("Ação Ímpar", 42, 12.5, 0.125, datetime.date(2013, 5, 21), True, memo),
        ("DELETADO", 1, 1.0, 1.0, datetime.date(2000, 1, 1), False, "apagado"),
        ("  Espaço à esquerda", -3, -0.5, None, None, None, ""),
        ("", 0, 1000.0, 0.0, datetime.date(1899, 12, 30), False, "curto"),
    ], deleted={1})
    # python3-dbf drops leading blanks; the field keeps them.
    patch_field(p, 2, "NOME", "  Espaço à esquerda".ljust(20).encode("cp850"))
    rows = read(p, encoding="cp850")
    check(len(rows) == 3 and rows[0]["OBS"] == memo and rows[0]["NOME"] == "Ação Ímpar", "TIPOS")
    check(rows[1]["NOME"] == "  Espaço à esquerda", "TIPOS leading blanks")
    check(open(p, "rb").read()[0] == 0x83, "TIPOS is 0x83")


def values_db3():
    """Numbers and dates as the field has them: patched bytes the writer would not put."""
    p = path("VALORES.DBF")
    write(p, "COD C(4); VAL N(8,2); DIA D; N18 N(18,0)", [
        ("A", 1.5, datetime.date(2013, 5, 21), 0),
        ("B", None, None, None),
        ("C", 2, datetime.date(2013, 5, 22), 1),
        ("D", 3, datetime.date(2013, 5, 23), 2),
        ("E", 4, datetime.date(2013, 5, 24), 3),
        ("F", 5, datetime.date(2013, 5, 25), 4),
        ("G", 6, datetime.date(2013, 5, 26), 5),
    ])
    patch_field(p, 0, "N18", b"123456789012345678")
    patch_field(p, 1, "DIA", b"00000000")
    patch_field(p, 1, "VAL", b"********")
    patch_field(p, 2, "VAL", b"    12X4")
    patch_field(p, 3, "DIA", b"19940231")
    patch_field(p, 4, "VAL", b"    1,50")
    patch_field(p, 4, "N18", b"             00012")
    patch_field(p, 5, "VAL", b"   -0.00")
    patch_field(p, 5, "N18", b"                +7")
    patch_field(p, 6, "VAL", b" 1.5E+03")
    patch_field(p, 6, "N18", b"  -000000000000.50")
    # dbfread reads what it can: the 18 digits, the asterisks as None, the comma.
    d, count, hlen, rlen, fields = header(p)
    check(d[hlen + fields["N18"][0]:hlen + fields["N18"][0] + 18] == b"123456789012345678", "N18 bytes")
    rows = read(p, raw=True)
    check(rows[2]["VAL"] == b"    12X4" and rows[3]["DIA"] == b"19940231", "VALORES raw")
    first = next(iter(dbfread.DBF(p)))
    check(first["N18"] == 123456789012345678 and first["VAL"] == 1.5, "VALORES row 0 by dbfread")


def foxpro():
    """FoxPro 2.x (0xF5) with .fpt memo, cp1252."""
    p = path("FOX.DBF")
    memo = "memo da raposa ção " * 60  # over one 64-byte block many times
    write(p, "NOME C(10); OBS M; V F(10,3)", [
        ("Açúcar", memo, 1.25),
        ("Vazio", "", None),
    ], dbf_type="fp", codepage="cp1252")
    rows = read(p, encoding="cp1252")
    check(rows[0]["OBS"] == memo and rows[0]["NOME"] == "Açúcar", "FOX")
    check(open(p, "rb").read()[0] == 0xF5, "FOX is 0xF5")


def visual_foxpro():
    """Visual FoxPro (0x30): I B Y T, memo in .fpt, nulls in _NullFlags."""
    p = path("VFP.DBF")
    write(p, "NOME C(10) NULL; QTD I NULL; PRECO B NULL; VALOR Y NULL; QUANDO T NULL; DIA D NULL; "
             "OK L NULL; OBS M NULL; NUM N(8,2) NULL", [
        ("Ação", 42, 1.5, decimal.Decimal("12.3456"), datetime.datetime(2013, 5, 21, 18, 30, 15),
         datetime.date(2013, 5, 21), True, "memo visual ção", 12.5),
        (dbf.Null,) * 9,
        ("Negativo", -7, -2.25, decimal.Decimal("-0.0001"), datetime.datetime(2013, 5, 21),
         datetime.date(1899, 12, 30), False, "", -0.5),
        ("Grande", 2147483646, 1e20, decimal.Decimal("123456789.1234"), datetime.datetime(1900, 1, 1, 0, 0, 1),
         datetime.date(9999, 12, 31), True, "x", 0),
    ], dbf_type="vfp", codepage="cp1252")
    rows = read(p, encoding="cp1252")
    check(rows[0]["QTD"] == 42 and rows[0]["VALOR"] == decimal.Decimal("12.3456"), "VFP row 0")
    check(rows[1]["_NULLFLAGS"] != b"\0\0", "VFP nulls")
    check(open(p, "rb").read()[0] == 0x30, "VFP is 0x30")


def visual_foxpro_mixed_nulls():
    """Visual FoxPro gives _NullFlags bits only to nullable fields, in field order.

    python3-dbf numbers the bits by field position instead, which agrees with Visual
    FoxPro only when every field is nullable (VFP.DBF); here the flags are rewritten
    in Visual FoxPro's numbering: B (the first nullable field) bit 0, C bit 1.
    """
    p = path("VFPMISTO.DBF")
    write(p, "A C(5); B N(5,0) NULL; C C(5) NULL; D I", [
        ("x", dbf.Null, "c", 1),
        ("y", 5, dbf.Null, 2),
        ("z", 6, "cc", 3),
    ], dbf_type="vfp", codepage="cp1252")
    for rec, flags in ((0, 0x01), (1, 0x02), (2, 0x00)):
        patch_field(p, rec, "_NULLFLAGS", bytes([flags]))
    rows = read(p, encoding="cp1252")
    check([r["_NULLFLAGS"] for r in rows] == [b"\x01", b"\x02", b"\x00"], "VFPMISTO flags by dbfread")
    check([r["A"] for r in rows] == ["x", "y", "z"] and rows[1]["B"] == 5, "VFPMISTO by dbfread")


def clipper_long():
    """Clipper character field of 300 bytes (high byte of the length in byte 17)."""
    p = path("CLIPPER.DBF")
    write(p, "LONGO C(300); COD C(4)", [("x" * 299 + "y", "c1"), ("curto", "c2")], dbf_type="clp")
    rows = read(p)
    check(len(rows[0]["LONGO"]) == 300 and rows[1]["COD"] == "c2", "CLIPPER")


def dbase4_memo():
    """dBase IV (0x8B) with a .dbt of dBase IV blocks, written here byte by byte.

    .dbt header: bytes 0-3 next free block (LE), 8-15 table name, 20-21 block length.
    Each memo: FF FF 08 00, a 4-byte LE length counting these 8 bytes, then the text.
    """
    p = path("DB4.DBF")
    write(p, "COD C(4); OBS M", [("1", ""), ("2", ""), ("3", "")], codepage="cp850")
    texts = {0: "Memória dBase IV ção", 2: "Bloco longo ção " * 45}  # 720 bytes: two blocks
    block = 512
    dbt = bytearray(block)
    nxt = 1
    pointers = {}
    for rec, text in texts.items():
        data = text.encode("cp850")
        pointers[rec] = nxt
        body = b"\xff\xff\x08\x00" + struct.pack("<I", len(data) + 8) + data + b"\x1a\x1a"
        body += b"\0" * (-len(body) % block)
        dbt += body
        nxt += len(body) // block
    dbt[0:4] = struct.pack("<I", nxt)
    dbt[8:16] = b"DB4\0\0\0\0\0"
    dbt[20:22] = struct.pack("<H", block)
    for f in os.listdir(OUT):
        if f.lower() == "db4.dbt":
            os.remove(path(f))
    with open(path("DB4.DBT"), "wb") as f:
        f.write(dbt)
    for rec in range(3):
        patch_field(p, rec, "OBS", b"%10d" % pointers[rec] if rec in pointers else b" " * 10)
    set_byte(p, 0, 0x8B)
    # dbfread reads dBase IV memos with the length as data length (8 bytes too many,
    # which here are the two 0x1A and padding) and cuts at 0x1F.
    rows = read(p, encoding="cp850")
    for rec, text in texts.items():
        got = rows[rec]["OBS"]
        check(got.startswith(text) and set(got[len(text):]) <= {"\x1a", "\0"}, "DB4 memo %d by dbfread" % rec)
    check(rows[1]["OBS"] is None, "DB4 blank pointer")


def soft_returns():
    """A dBase III memo with Clipper's soft return (0x8D 0x0A) and a lone 0x8D (ì)."""
    p = path("SOFT.DBF")
    write(p, "COD C(2); OBS M", [("1", "linha1ì\nlinha2 ìndio")], codepage="cp850")
    with open(memo_of(p), "rb") as f:
        check(b"linha1\x8d\nlinha2 \x8dndio" in f.read(), "SOFT bytes")


def versions():
    """The same table under the version bytes of the field."""
    base = path("VERSAO.DBF")
    write(base, "COD C(4); VAL N(6,1)", [("A", 1.5), ("B", 2)], codepage="cp850")
    for v in (0x02, 0xFB, 0x43, 0x63, 0xCB, 0x8B, 0x30, 0x31, 0x32, 0xF5, 0x83):
        p = path("V%02X.DBF" % v)
        shutil.copy(base, p)
        set_byte(p, 0, v)
        rows = read(p)
        check([r["COD"] for r in rows] == ["A", "B"], "version %02X" % v)
    # No 0x0D after the descriptors: the header ends right after the last one.
    d, count, hlen, rlen, fields = header(base)
    n = len(fields)
    no_term = bytearray(d[:32 + 32 * n]) + d[hlen:]
    no_term[8:10] = struct.pack("<H", 32 + 32 * n)
    with open(path("SEM0D.DBF"), "wb") as f:
        f.write(no_term)
    # 0x0D then an extra 0x00 (and garbage after the NUL of a field name).
    extra = bytearray(d[:hlen]) + b"\0" + d[hlen:]
    extra[8:10] = struct.pack("<H", hlen + 1)
    extra[32 + 5:32 + 11] = b"LIXO!\0"  # "COD\0" then garbage
    with open(path("EXTRA00.DBF"), "wb") as f:
        f.write(extra)
    check([r["COD"] for r in read(path("EXTRA00.DBF"))] == ["A", "B"], "EXTRA00")


def unsupported_type():
    p = path("TIPOX.DBF")
    write(p, "COD C(4); ESTRANHO C(6)", [("A", "abc")], codepage="cp850")
    d, count, hlen, rlen, fields = header(p)
    set_byte(p, 32 + 32 + 11, ord("W"))  # second descriptor's type


def missing_memo():
    p = path("SEMMEMO.DBF")
    write(p, "COD C(2); OBS M", [("1", "tem memo"), ("2", "")], codepage="cp850")
    patch_field(p, 1, "OBS", b" " * 10)
    os.remove(memo_of(p))
    p = path("MEMORUIM.DBF")
    write(p, "COD C(2); OBS M", [("1", "tem memo")], codepage="cp850")
    patch_field(p, 0, "OBS", b"      9999")


# ---------------------------------------------------------------- code pages

def code_pages():
    def table(name, cp, rows, ldid=None):
        p = path(name)
        write(p, "TEXTO C(60)", [(r,) for r in rows], codepage=cp)
        if ldid is not None:
            set_byte(p, 29, ldid)
        return p

    p = table("CP437.DBF", "cp437", [PT437])
    check(open(p, "rb").read()[29] == 0x01, "CP437 ldid")
    for name, cp, ldid in (("CP850.DBF", "cp850", 0x02), ("CP860.DBF", "cp860", 0x24), ("CP1252.DBF", "cp1252", 0x03)):
        p = table(name, cp, PT_ROWS)
        check(open(p, "rb").read()[29] == ldid, name + " ldid")
        check([r["TEXTO"] for r in read(p)] == PT_ROWS, name + " by dbfread")
    p = table("ANSI57.DBF", "cp1252", PT_ROWS, ldid=0x57)
    check([r["TEXTO"] for r in read(p, encoding="cp1252")] == PT_ROWS, "ANSI57")
    # No language driver: the bytes of each code page, byte 29 zeroed.
    for name, cp in (("SEM850.DBF", "cp850"), ("SEM860.DBF", "cp860"), ("SEM1252.DBF", "cp1252"), ("SEMUTF8.DBF", "utf8")):
        p = table(name, cp, PT_ROWS, ldid=0)
        check([r["TEXTO"] for r in read(p, encoding=cp)] == PT_ROWS, name + " by dbfread")
    # Only upper-case text, as many legacy systems kept it.
    upper = ["JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO", "JOSÉ", "INFORMAÇÕES"]
    for name, cp in (("MAI850.DBF", "cp850"), ("MAI1252.DBF", "cp1252")):
        p = table(name, cp, upper, ldid=0)
        check([r["TEXTO"] for r in read(p, encoding=cp)] == upper, name + " by dbfread")
    table("ASCII.DBF", "cp850", ["SEM ACENTOS", "nada"], ldid=0)
    # Small letters whose cp1252 bytes are capitals in cp850 (é E9 is Ú there, â E2 Ô, à E0 Ó).
    few = ["café", "até logo", "é"]  # by letters alone a tie; the case of the letter in its word decides
    for name, cp in (("MIN850.DBF", "cp850"), ("MIN1252.DBF", "cp1252")):
        p = table(name, cp, few, ldid=0)
        check([r["TEXTO"] for r in read(p, encoding=cp)] == few, name + " by dbfread")
    # A wrong language driver (cp850) with a .cpg beside the table naming 1252.
    p = table("CPG.DBF", "cp1252", PT_ROWS, ldid=0x02)
    with open(path("CPG.cpg"), "w") as f:
        f.write("1252\n")
    # Marked cp437 but written in cp850 (ã and õ do not exist in cp437).
    table("MARCA437.DBF", "cp850", PT_ROWS, ldid=0x01)
    # A .cpg this reader does not know.
    table("CPGRUIM.DBF", "cp850", ["x"])
    with open(path("CPGRUIM.CPG"), "w") as f:
        f.write("KOI8-R")


# ---------------------------------------------------------------- damage

def damage():
    rows = [("R%02d" % i, i + 0.5) for i in range(1, 11)]
    base = path("BASE10.DBF")
    write(base, "COD C(4); VAL N(8,2)", rows, codepage="cp850")
    d, count, hlen, rlen, fields = header(base)
    check(count == 10 and rlen == 13, "BASE10 layout")
    # Cut in the middle of the sixth record: the header's 10 cannot be right.
    with open(path("CORTADO.DBF"), "wb") as f:
        f.write(d[:hlen + 5 * rlen + 6])
    # Cut inside the last record: flag, COD and two bytes of VAL are there.
    with open(path("CURTO.DBF"), "wb") as f:
        f.write(d[:hlen + 9 * rlen + 7])
    # Ten whole records and the 0x1A, but the header says eleven.
    p = path("MAIS1.DBF")
    shutil.copy(base, p)
    patch(p, 4, struct.pack("<I", 11))
    # Header says 1000 records.
    p = path("MIL.DBF")
    shutil.copy(base, p)
    patch(p, 4, struct.pack("<I", 1000))
    # Header says 8: the two records after them are trailing bytes.
    p = path("OITO.DBF")
    shutil.copy(base, p)
    patch(p, 4, struct.pack("<I", 8))
    # No 0x1A at the end and trailing garbage after it.
    with open(path("SEM1A.DBF"), "wb") as f:
        f.write(d[:hlen + 10 * rlen])
    with open(path("LIXOFIM.DBF"), "wb") as f:
        f.write(d[:hlen + 10 * rlen] + b"\x1a" + b"garbage after the end")
    # An end-of-file mark where the sixth record's flag should be.
    p = path("MARCA1A.DBF")
    shutil.copy(base, p)
    set_byte(p, hlen + 5 * rlen, 0x1A)
    # A flag that is neither blank nor asterisk.
    p = path("MARCARUIM.DBF")
    shutil.copy(base, p)
    set_byte(p, hlen + 2 * rlen, ord("X"))
    # Not a table at all.
    with open(path("TEXTO.DBF"), "wb") as f:
        f.write(b"isto nao e uma tabela")
    check(len(read(path("SEM1A.DBF"))) == 10, "damage by dbfread")


# ---------------------------------------------------------------- the converters' tables

def tolv():
    os.makedirs(path("tolv"), exist_ok=True)
    t = lambda name: path("tolv", name)
    D = datetime.date
    write(t("CLIENTES.DBF"),
          "CODIGO C(6); DATA_ANI D; DATA_CAD D; RAZAOSOC C(50); FANTASIA C(30); FILIACAO C(60); ENDERECO C(50); "
          "BAIRRO C(25); CIDADE C(25); ESTADO C(2); CEP C(9); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
          "CONTATO C(30); CELULAR C(15); OBS1 M; REFERE C(60); SPC1 C(10); SPC2 C(10); LOCAL_TRAB C(40)", [
              ("000123", D(1980, 12, 25), D(2001, 3, 4), "JOÃO DA SILVA", "Padaria São João", "Maria e José",
               "Rua das Flores, 100", "Centro", "São Paulo", "SP", "01001-000", "123.456.789-09", "ISENTO",
               "(11) 3333-4444", "", "Conceição", "(11) 99999-8888", "Cliente desde 2001\r\nPaga em dia",
               "Referência comercial", "", "S", "Fábrica Ação"),
              ("000124", None, D(2010, 1, 31), "EMPRESA APAGADA", "", "", "", "", "", "", "", "", "", "", "",
               "", "", "", "", "", "", ""),
              ("124", None, None, "ÁUREA COMÉRCIO LTDA", "", "", "Av. Brasil", "", "Rio de Janeiro", "RJ", "", "12.345.678/0001-95",
               "", "", "", "", "", "", "", "", "", ""),
          ], deleted={1})
    write(t("FORNEC.DBF"),
          "CODIGO C(6); RAZAOSOC C(50); FANTASIA C(30); ENDERECO C(50); BAIRRO C(25); CIDADE C(25); ESTADO C(2); "
          "CEP C(9); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15)", [
              ("1", "DISTRIBUIDORA AÇÃO", "Ação", "Rua A, 1", "Vila Nova", "Curitiba", "PR", "80000-000",
               "11.222.333/0001-44", "123", "(41) 3000-0000", "(41) 3000-0001"),
              ("2", "", "", "", "", "", "", "", "", "", "", ""),
          ])
    write(t("GRUPO.DBF"), "CODIGO C(3); DESCRICAO C(30)",
          [("01", "BEBIDAS"), ("02", "LATICÍNIOS"), ("03", "APAGADO")], deleted={2})
    write(t("subgrupo.dbf"), "CODIGO C(4); DESCRICAO C(30)", [("0101", "REFRIGERANTES"), ("0102", "SUCOS")])
    write(t("Fabrica.DBF"), "CODIGO C(5); RAZAOSOC C(40)", [("00001", "NESTLÉ"), ("12", "AMBEV")])
    write(t("PR.DBF"),
          "CODITEM C(14); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(40); UNIDADE C(3); ESTMIN N(10,2); PVENDA N(12,2); "
          "COMISSAO N(5,2); CUSTOATUAL N(12,2); CUSTOMEDIO N(12,2); C_FISCAL C(5); EMPRESA C(2); CODFAB C(5)", [
              ("000010", "00101", "00102", "GUARANÁ 2L", "UN", 10, 7.5, 2.5, 4.1, 4.05, "01", "01", "1"),
              ("000002", "00101", "00101", "ÁGUA MINERAL", "CX", 0, 12, 0, None, None, "", "01", "00001"),
              ("000001", "00102", "00101", "EMPRESA DOIS", "UN", 0, 1, 0, 1, 1, "17", "02", ""),
              ("a00001", "00102", "00102", "minúsculo", "KG", 1.5, 0.99, 0, 0, 0, "12", "01", "12"),
              ("B00001", "00102", "00102", "MAIÚSCULO", "KG", 1.5, 0.99, 0, 0, 0, "7", "01", "12"),
              ("000002", "00101", "00101", "ÁGUA COM GÁS (empate)", "CX", 0, 13, 0, 2, 2, "", "01", "00001"),
              ("000003", "00101", "00101", "APAGADO", "UN", 0, 1, 0, 1, 1, "", "01", ""),
              ("", "00101", "00101", "SEM CÓDIGO", "UN", 0, 1, 0, 1, 1, "", "01", ""),
          ], deleted={6})
    write(t("CR.DBF"),
          "CODEMP C(2); CODCLI C(8); NUMERO_DOC C(12); EMISSAO D; VENCIMENTO D; VALOR N(12,2); VENDEDOR C(4); "
          "PAGAMENTO D", [
              ("01", "123", "NF1001/1", D(2013, 5, 1), D(2013, 6, 1), 150.75, "7", None),
              ("01", "124", "NF1002/1", D(2013, 5, 2), D(2013, 6, 2), 99.9, "", D(2013, 6, 2)),
              ("02", "125", "NF2001/1", D(2013, 5, 3), D(2013, 6, 3), 10, "8", None),
              ("01", "126", 'NF"1003"', None, None, 0.01, "", None),
          ])
    write(t("contpag.dbf"),
          "CODEMP C(2); NUMERO_DOC C(12); CODFOR C(6); VALOR N(12,2); EMISSAO D; VENCIMENTO D; HISTORICO C(40); "
          "PAGAMENTO D", [
              ("01", "BOL-1", "1", 1234.56, D(2013, 5, 10), D(2013, 6, 10), "Compra de mercadorias", None),
              ("02", "BOL-2", "2", 10, D(2013, 5, 11), D(2013, 6, 11), "Outra empresa", None),
              ("01", "BOL-3", "3", 20, D(2013, 5, 12), D(2013, 6, 12), "Já paga", D(2013, 6, 1)),
          ])
    check(len(read(t("CR.DBF"))) == 4 and len(read(t("GRUPO.DBF"))) == 2, "tolv by dbfread")


def duplicates():
    os.makedirs(path("duplo"), exist_ok=True)
    write(path("duplo", "Dup.dbf"), "COD C(2)", [("a",)])
    write(path("duplo", "DUP.DBF"), "COD C(2)", [("b",)])
    os.makedirs(path("vazia"), exist_ok=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    types_db3()
    values_db3()
    foxpro()
    visual_foxpro()
    visual_foxpro_mixed_nulls()
    clipper_long()
    dbase4_memo()
    soft_returns()
    versions()
    unsupported_type()
    missing_memo()
    code_pages()
    damage()
    tolv()
    duplicates()


if __name__ == "__main__":
    main()
