#!/usr/bin/python3
"""Writes unmarked dBase tables of Portuguese text for the code-page guess.

    /usr/bin/python3 bench/make_codepage_tables.py OUT_FOLDER [TABLES_PER_CELL] [SEED]

For each code page (cp850, cp1252, cp860) and each number of accented words (1, 2,
3, 5, 10, 20, 50, 200), TABLES_PER_CELL tables (default 100) of names, streets,
cities and product descriptions, as a shop's tables hold them: most in capitals,
some in mixed case, accented words among plain ones. No table carries a language
driver (byte 29 is 0) or a .cpg file, as Clipper left them. OUT_FOLDER/manifest.txt
lists each table with its code page and its number of accented words.

The bytes follow the dBase III layout (dbase-files.md); a sample of the tables is
read back with Debian's python3-dbfread in its code page and compared with the
text meant.
"""
import os
import random
import struct
import sys

import dbfread

FIRST = ["JOÃO", "JOSÉ", "MARIA", "ANTÔNIO", "CONCEIÇÃO", "SEBASTIÃO", "LUÍS", "CÉLIA", "MÁRCIO", "FÁBIO",
         "JÚLIO", "ANDRÉ", "INÊS", "ESTEVÃO", "CATARINA", "PEDRO", "ANA", "PAULO", "CARLOS", "LÚCIA", "MÔNICA",
         "VÂNIA", "SÔNIA", "DÉBORA", "ÂNGELA", "GONÇALO", "ASSUNÇÃO", "ROMÃO", "SIMÃO", "GLÓRIA", "VITÓRIA",
         "ADÃO", "BRÁS", "CÍCERO", "FRANCISCO", "TEREZA", "RAIMUNDO", "JOAQUIM", "HELENA", "PATRÍCIA"]
LAST = ["DA SILVA", "DOS SANTOS", "GONÇALVES", "MAGALHÃES", "ARAÚJO", "CONCEIÇÃO", "GUIMARÃES", "LEMOS",
        "ASSUNÇÃO", "PERES", "FALCÃO", "BRANDÃO", "LOUREIRO", "MONTEIRO", "GALVÃO", "DO NASCIMENTO", "LOURENÇO",
        "CARVALHO", "ROMÃO", "BARBOSA", "AZEVEDO", "CAMPOS", "PONTES", "MACHADO", "ESTÊVÃO", "SIMÕES", "DAMIÃO"]
STREET = ["RUA", "AVENIDA", "TRAVESSA", "ALAMEDA", "PRAÇA", "ESTRADA", "RODOVIA", "LARGO"]
STREET_NAME = ["DAS FLORES", "SÃO PAULO", "DA CONCEIÇÃO", "BARÃO DE MAUÁ", "GOIÁS", "DOM PEDRO II", "DA ESTAÇÃO",
               "MARECHAL DEODORO", "DA INDEPENDÊNCIA", "PARANÁ", "DOS ANDRADAS", "XV DE NOVEMBRO", "DA GLÓRIA",
               "CAÇAPAVA", "JOÃO PESSOA", "DA LIBERTAÇÃO", "SANTO ANTÔNIO", "DA REPÚBLICA", "TIRADENTES",
               "DOS PIONEIROS", "PIAUÍ", "MARANHÃO", "DAS PALMEIRAS", "DO COMÉRCIO", "CEARÁ"]
CITY = ["SÃO PAULO", "BELÉM", "GOIÂNIA", "MACEIÓ", "CAÇAPAVA", "JOÃO PESSOA", "SÃO LUÍS", "VITÓRIA",
        "FLORIANÓPOLIS", "CURITIBA", "PORTO ALEGRE", "RIBEIRÃO PRETO", "MARÍLIA", "JUNDIAÍ", "TAUBATÉ",
        "CUIABÁ", "MACAPÁ", "CAMPINAS", "SOROCABA", "UBERLÂNDIA", "GOVERNADOR VALADARES", "IPATINGA", "PARAÍBA",
        "NITERÓI", "CAXIAS DO SUL", "MOGI DAS CRUZES", "SÃO JOSÉ DOS CAMPOS", "BRASÍLIA", "ITAPEVA"]
PRODUCT = ["AÇÚCAR REFINADO 1KG", "FEIJÃO CARIOCA 1KG", "ARROZ TIPO 1 5KG", "CAFÉ TORRADO 500G", "LEITE INTEGRAL 1L",
           "SABÃO EM PÓ 1KG", "MAÇÃ GALA KG", "PÃO FRANCÊS KG", "LINGUIÇA TOSCANA KG", "BISCOITO MAISENA 200G",
           "ÓLEO DE SOJA 900ML", "FARINHA DE MANDIOCA 1KG", "GUARANÁ 2L", "ÁGUA MINERAL 500ML", "MACARRÃO ESPAGUETE",
           "DETERGENTE LÍQUIDO 500ML", "MARGARINA 500G", "REQUEIJÃO 200G", "PRESUNTO FATIADO KG", "CHÁ MATE 250G",
           "ALGODÃO 50G", "CORAÇÃO DE FRANGO KG", "PAPEL HIGIÊNICO 4UN", "SALSICHA KG", "VINAGRE 750ML",
           "LIMÃO TAITI KG", "MAMÃO FORMOSA KG", "FÓSFORO 10UN", "ESPONJA DUPLA FACE", "PEÇA DE REPOSIÇÃO Nº 3"]
BAIRRO = ["CENTRO", "VILA NOVA", "JARDIM AMÉRICA", "SÃO CRISTÓVÃO", "CONSOLAÇÃO", "BELA VISTA", "BOA VISTA",
          "JARDIM PAULISTA", "VILA MARIANA", "SANTA CECÍLIA", "IPANEMA", "LIBERDADE", "ALTO DA GLÓRIA"]

FIELDS = [("NOME", 45), ("ENDERECO", 50), ("BAIRRO", 25), ("CIDADE", 30), ("PRODUTO", 40), ("OBS", 30)]
CODE_PAGES = ["cp850", "cp1252", "cp860"]
SIZES = [1, 2, 3, 5, 10, 20, 50, 200]


def accented_words(text):
    return sum(1 for w in text.split() if any(ord(c) > 127 for c in w))


def title(text):
    """Mixed case as some systems kept it: "João da Silva"."""
    small = {"DA", "DE", "DO", "DAS", "DOS", "E"}
    return " ".join(w.lower() if w in small else w[:1] + w[1:].lower() for w in text.split())


def record(rnd, plain_only):
    def pick(words):
        choices = [w for w in words if all(ord(c) < 128 for c in w)] if plain_only else words
        return rnd.choice(choices)
    name = "%s %s" % (pick(FIRST), pick(LAST))
    street = "%s %s, %d" % (pick(STREET), pick(STREET_NAME), rnd.randrange(1, 3000))
    obs = rnd.choice(["", "", "CLIENTE ANTIGO", "PAGA EM DIA", "NÃO ATRASA", "ATENÇÃO: CRÉDITO BLOQUEADO"])
    if plain_only:
        obs = rnd.choice(["", "CLIENTE ANTIGO", "PAGA EM DIA"])
    return [name, street, pick(BAIRRO), pick(CITY), pick(PRODUCT), obs]


def table_rows(rnd, accented):
    """Rows holding exactly `accented` accented words, most rows plain."""
    rows, count = [], 0
    mixed = rnd.random() < 0.3
    while count < accented:
        vals = record(rnd, False)
        # Keep only as many accented fields as still wanted; the rest plain.
        plain = record(rnd, True)
        for i, v in enumerate(vals):
            n = accented_words(v)
            if n == 0 or count + n > accented or rnd.random() < 0.5:
                vals[i] = plain[i]
            else:
                count += n
        rows.append(vals)
        for _ in range(rnd.randrange(0, 3)):
            rows.append(record(rnd, True))
    rnd.shuffle(rows)
    if mixed:
        rows = [[title(v) for v in r] for r in rows]
    assert sum(accented_words(v) for r in rows for v in r) == accented
    return rows


def write_table(path, rows, cp):
    rec_len = 1 + sum(n for _, n in FIELDS)
    hdr_len = 32 + 32 * len(FIELDS) + 1
    header = bytearray(32)
    header[0] = 0x03
    header[1:4] = bytes([124, 12, 2])
    header[4:8] = struct.pack("<I", len(rows))
    header[8:10] = struct.pack("<H", hdr_len)
    header[10:12] = struct.pack("<H", rec_len)
    header[29] = 0  # no language driver
    for name, length in FIELDS:
        d = bytearray(32)
        d[0:len(name)] = name.encode("ascii")
        d[11] = ord("C")
        d[16] = length
        header += d
    header += b"\r"
    body = bytearray()
    for r in rows:
        body += b" " + b"".join(v.encode(cp).ljust(n) for v, (_, n) in zip(r, FIELDS))
    with open(path, "wb") as f:
        f.write(bytes(header) + bytes(body) + b"\x1a")


def main():
    out = sys.argv[1]
    per_cell = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    rnd = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 860)
    os.makedirs(out, exist_ok=True)
    manifest = []
    for cp in CODE_PAGES:
        for size in SIZES:
            for k in range(per_cell):
                name = "T%s_%03d_%04d" % (cp[2:], size, k)
                rows = table_rows(rnd, size)
                path = os.path.join(out, name + ".DBF")
                write_table(path, rows, cp)
                manifest.append("%s %s %d" % (name, cp, size))
                if k == 0:
                    back = [[rec[f] for f, _ in FIELDS] for rec in dbfread.DBF(path, encoding=cp)]
                    assert back == [[v for v in r] for r in rows], name
    with open(os.path.join(out, "manifest.txt"), "w") as f:
        f.write("\n".join(manifest) + "\n")
    print("%s: %d tables" % (out, len(manifest)))


if __name__ == "__main__":
    main()
