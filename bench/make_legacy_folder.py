#!/usr/bin/python3
"""Writes a large TOLV legacy folder with the value mix of a real shop, for the
whole-run benchmark (bench/run_whole_bench.py).

    /usr/bin/python3 bench/make_legacy_folder.py OUT_FOLDER [--clientes N]
        [--fornecedores N] [--grupos N] [--subgrupos N] [--produtos N]
        [--receber N] [--pagar N] [--fabricantes N] [--escala F]

Defaults: 100,000 customers, 20,000 suppliers, 999 groups, 5,000 subgroups,
100,000 products, 200,000 receivables, 200,000 payables, 5,000 manufacturers;
--escala multiplies every default (0.01 for a quick try). The tables and their
columns are those of the example folder (examples/make_examples.py), dBase III in
cp850 marked 0x02, as Clipper installations left them.

The mix: accented Portuguese names and streets, apostrophes and the odd double
quote, masked CPF/CNPJ, postal codes and phones, ISENTO registrations, a few blank
names and descriptions (those rows are skipped by rule), cities written many ways
(BHTE among them), empty dates, codes that need zero filling, units longer than six
characters, products stored out of code order and 10% of another company, documents
of companies 01 and 02 of which a quarter are already paid. Codes are unique where
the target keys on them, so that a run goes through.

The records are formatted here (python3-dbf would take minutes for a million
appends) and each table is checked with Debian's python3-dbfread: header, fields,
record count and a sample of records decoded back to what was meant.
"""
import argparse
import datetime
import os
import random
import struct
import sys

import dbfread

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'examples'))
import make_examples as ex  # noqa: E402  the field layouts of every table

CODEPAGE = 'cp850'

FIRST = ['JOSÉ', 'MARIA', 'JOÃO', 'ANTÔNIO', 'FRANCISCO', 'ANA', 'LUÍS', 'CONCEIÇÃO', 'SEBASTIÃO',
         'CÉLIA', 'Paulo', 'Márcia', 'Raimundo', 'Luzia', 'Jorge', 'Ângela', 'Élcio', 'Tânia']
LAST = ['DA SILVA', 'DOS SANTOS', 'GONÇALVES', 'ARAÚJO', 'MAGALHÃES', 'PEREIRA', "D'ÁVILA",
        'de Assunção', 'Conceição', 'Brandão', 'LEMOS', 'ALVES', "O'Neil", 'Simões']
BUSINESS = ['Comércio de Ferragens', 'Padaria Pão Quente', 'Açougue Três Irmãos', 'Mercearia São José',
            'Distribuidora Ação', 'Materiais de Construção Irmãos', 'Tintas e Acessórios', 'Elétrica Luz']
STREETS = ['Rua São João', 'Av. Afonso Pena', 'Rua das Flores', 'Praça da Sé', 'Travessa da Conceição',
           'Rua Barão de Mauá', 'Alameda Goiás', 'Rodovia BR-040, km', 'Rua Goitacazes']
BAIRROS = ['Centro', 'Funcionários', 'Eldorado', 'Vila Nova', 'Sé', 'Mooca', 'Distrito Industrial', '']
CITIES = [('São Paulo', 'SP'), ('SAO PAULO', 'sp'), ('Belo Horizonte', 'MG'), ('BHTE', 'MG'),
          ('BELO HORIZONTE', 'mg'), ('Contagem', 'MG'), ('Itaúna', 'MG'), ('Rio de Janeiro', 'RJ'),
          ('Belém', 'PA'), ('Goiânia', 'GO'), ('Maceió', 'AL'), ('Curitiba', 'PR'), ('Florianópolis', 'SC'),
          ('Porto Alegre', 'RS'), ('Salvador', 'BA'), ('Recife', 'PE'), ("Pau D'Alho", 'PE'),
          ('Fortaleza', 'CE'), ('Uberlândia', 'MG'), ('Juiz de Fora', 'MG'), ('Campinas', 'SP'),
          ('Ribeirão Preto', 'SP'), ('São José dos Campos', 'SP'), ('Vitória', 'ES'), ('Cuiabá', 'MT'),
          ('', '')]
UNITS = ['UN', 'un', 'PC', 'KG', 'kg', 'CX', 'Caixa12', 'M', 'M2', 'L', 'GL', 'RL', 'PCT', 'DZ', 'Barra6m', 'PAR']
PRODUCTS = ['Alicate universal 8"', 'Chave de fenda 1/4 x 6', 'Tubo PVC soldável 25mm', 'Tinta látex 18L',
            'Fio flexível 2,5mm rolo 100m', 'Tomada 2P+T 10A', "Registro de gaveta 3/4 D'Água", 'Parafuso sextavado',
            'Lâmpada LED 9W', 'Disjuntor 20A', 'Cola PVC 75g', 'Luva de raspa', 'Trena 5m', 'Cimento CP-II 50kg']


def fields_of(layout):
    """(name, type, length, decimals) from the example's ('NAME', 'C(8)') pairs."""
    out = []
    for name, kind in layout:
        t = kind[0]
        if t == 'D':
            out.append((name, 'D', 8, 0))
        else:
            size = kind[2:-1].split(',')
            out.append((name, t, int(size[0]), int(size[1]) if len(size) > 1 else 0))
    return out


def date(d):
    return d.strftime('%Y%m%d') if d else ''


def number(v, length, dec):
    return '' if v is None else ('%.*f' % (dec, v) if dec else '%d' % v)


def encode(fields, vals):
    out = bytearray(b' ')
    for (name, kind, length, dec), v in zip(fields, vals):
        b = v.encode(CODEPAGE)[:length]
        out += b.rjust(length) if kind == 'N' else b.ljust(length)
    return bytes(out)


def write(folder, file_name, layout, rows, count):
    fields = fields_of(layout)
    path = os.path.join(folder, file_name)
    rec_len = 1 + sum(f[2] for f in fields)
    hdr_len = 32 + 32 * len(fields) + 1
    header = bytearray(32)
    header[0] = 0x03
    header[1:4] = bytes([124, 12, 2])
    header[4:8] = struct.pack('<I', count)
    header[8:10] = struct.pack('<H', hdr_len)
    header[10:12] = struct.pack('<H', rec_len)
    header[29] = 0x02  # cp850
    for name, kind, length, dec in fields:
        d = bytearray(32)
        d[0:len(name)] = name.encode('ascii')
        d[11] = ord(kind)
        d[16] = length
        d[17] = dec
        header += d
    header += b'\r'
    sample = []
    with open(path, 'wb') as f:
        f.write(header)
        chunk = []
        for i, vals in enumerate(rows):
            if len(sample) < 100:
                sample.append(vals)
            chunk.append(encode(fields, vals))
            if len(chunk) == 10000:
                f.write(b''.join(chunk))
                chunk = []
        f.write(b''.join(chunk))
        f.write(b'\x1a')
    t = dbfread.DBF(path, encoding=CODEPAGE, char_decode_errors='strict', load=False)
    assert [x.name for x in t.fields] == [x[0] for x in fields], path
    assert t.header.numrecords == count and t.header.recordlen == rec_len, path
    assert os.path.getsize(path) == hdr_len + count * rec_len + 1, path
    for vals, rec in zip(sample, t):
        for (name, kind, length, dec), v in zip(fields, vals):
            if kind == 'C':
                assert (rec[name] or '') == v.encode(CODEPAGE)[:length].decode(CODEPAGE).rstrip(), (path, name, rec)
    print('%s: %d records, %.1f MB' % (path, count, os.path.getsize(path) / 1e6))


def person(rnd):
    if rnd.random() < 0.3:
        return '%s %s %s' % (rnd.choice(BUSINESS), rnd.choice(LAST).title(), rnd.choice(['Ltda', 'ME', 'EPP', '']))
    return '%s %s %s' % (rnd.choice(FIRST), rnd.choice(LAST), rnd.choice(LAST) if rnd.random() < 0.5 else '')


def name(rnd):
    r = rnd.random()
    if r < 0.005:
        return ''  # skipped by rule
    if r < 0.01:
        return 'Comércio "%s" Ltda' % rnd.choice(LAST).title()
    return person(rnd).strip()


def doc(rnd):
    if rnd.random() < 0.6:
        return '%03d.%03d.%03d-%02d' % (rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(100))
    if rnd.random() < 0.8:
        return '%02d.%03d.%03d/0001-%02d' % (rnd.randrange(100), rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(100))
    return '' if rnd.random() < 0.5 else '%014d' % rnd.randrange(10 ** 14)


def insc(rnd):
    r = rnd.random()
    return 'ISENTO' if r < 0.4 else 'isento' if r < 0.45 else '' if r < 0.7 else '%03d.%03d.%03d.%04d' % (
        rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(10000))


def phone(rnd):
    r = rnd.random()
    if r < 0.2:
        return ''
    if r < 0.6:
        return '(%02d) %04d-%04d' % (rnd.randrange(11, 99), rnd.randrange(2000, 9999), rnd.randrange(10000))
    return '%02d9%04d%04d' % (rnd.randrange(11, 99), rnd.randrange(10000), rnd.randrange(10000))


def cep(rnd):
    r = rnd.random()
    n = rnd.randrange(10 ** 8)
    return '' if r < 0.1 else '%05d-%03d' % (n // 1000, n % 1000) if r < 0.7 else '%08d' % n


def some_date(rnd, start=1940, days=30000, none=0.0):
    if rnd.random() < none:
        return None
    return datetime.date(start, 1, 1) + datetime.timedelta(days=rnd.randrange(days))


def clientes(n, rnd):
    for i in range(1, n + 1):
        city, uf = rnd.choice(CITIES)
        code = '%d' % i if rnd.random() < 0.7 else '%08d' % i
        yield [code, date(some_date(rnd, 1940, 25000, 0.3)), date(some_date(rnd, 1995, 10000, 0.05)), name(rnd),
               rnd.choice(LAST).title() if rnd.random() < 0.5 else '', person(rnd) if rnd.random() < 0.3 else '',
               '%s, %d' % (rnd.choice(STREETS), rnd.randrange(1, 3000)), rnd.choice(BAIRROS), city, uf, cep(rnd),
               doc(rnd), insc(rnd), phone(rnd), phone(rnd) if rnd.random() < 0.2 else '',
               rnd.choice(FIRST).title() if rnd.random() < 0.4 else '', phone(rnd),
               'Cliente desde %d, paga em dia' % rnd.randrange(1980, 2024) if rnd.random() < 0.2 else '',
               'Ref. comercial: %s' % rnd.choice(BUSINESS) if rnd.random() < 0.1 else '',
               'Nada consta' if rnd.random() < 0.1 else '', '', 'Autônomo' if rnd.random() < 0.1 else '']


def fornecedores(n, rnd):
    for i in range(1, n + 1):
        city, uf = rnd.choice(CITIES)
        if rnd.random() < 0.05:
            city = '%s %d' % (city or 'Distrito', rnd.randrange(300))  # many small places: new cities
        yield ['%d' % i, name(rnd), rnd.choice(LAST).title(), '%s, %d' % (rnd.choice(STREETS), rnd.randrange(1, 9000)),
               rnd.choice(BAIRROS), city, uf, cep(rnd), doc(rnd), insc(rnd), phone(rnd), phone(rnd)]


def grupos(n, rnd):
    for i in range(1, n + 1):
        yield ['%04d' % i if rnd.random() < 0.5 else '%d' % i,
               '' if rnd.random() < 0.01 else '%s %d' % (rnd.choice(['Ferramentas', 'Material Elétrico', 'Hidráulica',
                                                                      'Tintas', 'Iluminação', 'Ferragens']), i)]


def subgrupos(n, rnd):
    for i in range(n):
        g, s = 1 + i // 100, i % 100
        yield ['%02d%02d' % (g, s), '' if rnd.random() < 0.01 else ' %s %d' % (rnd.choice(PRODUCTS)[:20], i)]


def produtos(n, rnd, grupos_n, fabricantes_n):
    codes = list(range(1, n + 1))
    rnd.shuffle(codes)  # a shop's table is rarely stored in code order
    for i in codes:
        code = '%06d' % i if rnd.random() < 0.8 else 'AB%08d' % i
        cost = None if rnd.random() < 0.1 else rnd.randrange(1, 10 ** 7) / 10000
        yield ['%s' % code, '00%03d' % (1 + rnd.randrange(max(grupos_n, 1))), '00%03d' % rnd.randrange(100),
               '' if rnd.random() < 0.005 else '%s %d' % (rnd.choice(PRODUCTS), i), rnd.choice(UNITS),
               number(rnd.randrange(0, 100000) / 1000, 10, 3), number(rnd.randrange(1, 10 ** 7) / 100, 12, 2),
               number(rnd.choice([0, 0, 1, 2.5, 5]), 6, 2), number(cost, 12, 4), number(cost, 12, 4),
               rnd.choice(['01', '', '17', '18', '12', '7', '25', '01']),
               '01' if rnd.random() < 0.9 else '02',
               '' if rnd.random() < 0.2 else '%d' % (1 + rnd.randrange(max(fabricantes_n, 1)))]


def receber(n, rnd, clientes_n):
    for i in range(1, n + 1):
        em = some_date(rnd, 2019, 2000, 0.05)
        venc = (em or datetime.date(2024, 1, 1)) + datetime.timedelta(days=rnd.choice([0, 15, 30, 60, 90]))
        yield ['01' if rnd.random() < 0.85 else '02', number(1 + rnd.randrange(max(clientes_n, 1)), 8, 0),
               '%06d/%02d' % (i // 3, i % 3 + 1) if rnd.random() < 0.9 else 'NF "%d"' % i, date(em), date(venc),
               number(rnd.randrange(100, 10 ** 7) / 100, 12, 2),
               '' if rnd.random() < 0.1 else number(1 + rnd.randrange(50), 4, 0),
               date(venc if rnd.random() < 0.25 else None)]


def pagar(n, rnd, fornecedores_n):
    for i in range(1, n + 1):
        em = some_date(rnd, 2019, 2000, 0.05)
        venc = (em or datetime.date(2024, 1, 1)) + datetime.timedelta(days=rnd.choice([0, 28, 30, 45]))
        yield ['01' if rnd.random() < 0.85 else '02', 'NF %d' % i, number(1 + rnd.randrange(max(fornecedores_n, 1)), 6, 0),
               number(rnd.randrange(100, 10 ** 7) / 100, 12, 2), date(em), date(venc),
               '%s - pedido nº %d%s' % (rnd.choice(PRODUCTS), i, ' "urgente"' if rnd.random() < 0.01 else ''),
               date(venc if rnd.random() < 0.25 else None)]


def fabricantes(n, rnd):
    for i in range(1, n + 1):
        yield ['%d' % i, '' if rnd.random() < 0.01 else '%s %s' % (rnd.choice(LAST).title(), rnd.choice(['S.A.', 'Ltda', 'Ind.']))]


DEFAULTS = [('clientes', 100000), ('fornecedores', 20000), ('grupos', 999), ('subgrupos', 5000),
            ('produtos', 100000), ('receber', 200000), ('pagar', 200000), ('fabricantes', 5000)]


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('folder')
    p.add_argument('--escala', type=float, default=1.0)
    for kind, n in DEFAULTS:
        p.add_argument('--' + kind, type=int)
    a = p.parse_args()
    size = {k: getattr(a, k) if getattr(a, k) is not None else max(1, int(n * a.escala)) for k, n in DEFAULTS}
    size['grupos'] = min(size['grupos'], 999)      # the target keeps three digits
    size['subgrupos'] = min(size['subgrupos'], 9900)  # two digits of group, two of subgroup
    os.makedirs(a.folder, exist_ok=True)
    rnd = random.Random(2024)
    write(a.folder, 'CLIENTES.DBF', ex.CLIENTES_FIELDS, clientes(size['clientes'], rnd), size['clientes'])
    write(a.folder, 'FORNEC.DBF', ex.FORNEC_FIELDS, fornecedores(size['fornecedores'], rnd), size['fornecedores'])
    write(a.folder, 'GRUPO.DBF', ex.GRUPO_FIELDS, grupos(size['grupos'], rnd), size['grupos'])
    write(a.folder, 'SUBGRUPO.DBF', ex.SUBGRUPO_FIELDS, subgrupos(size['subgrupos'], rnd), size['subgrupos'])
    write(a.folder, 'PR.DBF', ex.PR_FIELDS, produtos(size['produtos'], rnd, size['grupos'], size['fabricantes']),
          size['produtos'])
    write(a.folder, 'CR.DBF', ex.CR_FIELDS, receber(size['receber'], rnd, size['clientes']), size['receber'])
    write(a.folder, 'CONTPAG.DBF', ex.CONTPAG_FIELDS, pagar(size['pagar'], rnd, size['fornecedores']), size['pagar'])
    write(a.folder, 'FABRICA.DBF', ex.FABRICA_FIELDS, fabricantes(size['fabricantes'], rnd), size['fabricantes'])


if __name__ == '__main__':
    main()
