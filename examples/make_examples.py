#!/usr/bin/python3
"""Writes the example TOLV legacy folder, examples/tolv/.

Run with Debian's python (it has the python3-dbf module):

    /usr/bin/python3 examples/make_examples.py [output folder]

One dBase III table per legacy table the converter reads: CLIENTES, FORNEC,
PR, GRUPO, SUBGRUPO, FABRICA, CR and CONTPAG (the payables table is selected
as "ContPag"; its file is written in upper case to show that tables are found
whatever the letter case of the file name).

Code page: cp850 (DOS Latin-1, what Clipper installations in Brazil wrote),
marked in the header's language-driver byte as 0x02.

The rows are few but chosen so that a run shows every rule that matters:
accented names (ç, ã, õ, é, Á, Ç), masked CNPJ/CPF, postal codes and phone
numbers, ISENTO state registrations, codes that need zero filling, a city
written "BHTE", empty dates, empty descriptions and names that make a row be
skipped, documents of companies 01 and 02, paid documents that the filter
drops, an apostrophe and double quotes inside texts, a unit longer than six
characters, two products whose codes end alike and follow each other.

The header's last-update date is fixed so that the files are the same on every
run of this script.
"""

import datetime
import os
import sys

import dbf

CODEPAGE = 'cp850'
HEADER_DATE = (2024, 12, 2)

D = datetime.date


def write_table(folder, file_name, fields, rows):
    """Writes one dBase III table; rows are tuples in the order of fields."""
    path = os.path.join(folder, file_name)
    if os.path.exists(path):
        os.remove(path)
    layout = '; '.join('%s %s' % (name, kind) for name, kind in fields)
    table = dbf.Table(path, layout, codepage=CODEPAGE, dbf_type='db3')
    table.open(mode=dbf.READ_WRITE)
    for row in rows:
        if len(row) != len(fields):
            raise ValueError('%s: row %r has %d values for %d fields'
                             % (file_name, row, len(row), len(fields)))
        table.append(row)
    table.close()
    with open(path, 'r+b') as f:
        # dbf stamps today's date into bytes 1-3; make the output reproducible.
        f.seek(1)
        y, m, d = HEADER_DATE
        f.write(bytes([y - 1900, m, d]))
        keep_leading_blanks(f, fields, rows)
    return path


def keep_leading_blanks(f, fields, rows):
    """The dbf module strips texts before storing them; legacy fields do
    hold leading blanks, so write those values again byte for byte."""
    f.seek(8)
    header_length = int.from_bytes(f.read(2), 'little')
    record_length = int.from_bytes(f.read(2), 'little')
    offsets, widths, pos = [], [], 1  # byte 0 of a record is the deletion flag
    for _name, kind in fields:
        width = int(kind[2:-1].split(',')[0]) if '(' in kind else 8
        offsets.append(pos)
        widths.append(width)
        pos += width
    if pos != record_length:
        raise ValueError('unexpected record layout')
    for r, row in enumerate(rows):
        for i, ((_name, kind), value) in enumerate(zip(fields, row)):
            if kind.startswith('C') and isinstance(value, str) \
                    and value != value.lstrip():
                raw = value.encode(CODEPAGE).ljust(widths[i], b' ')
                f.seek(header_length + r * record_length + offsets[i])
                f.write(raw[:widths[i]])


CLIENTES_FIELDS = [
    ('CODIGO', 'C(8)'), ('DATA_ANI', 'D'), ('DATA_CAD', 'D'),
    ('RAZAOSOC', 'C(60)'), ('FANTASIA', 'C(40)'), ('FILIACAO', 'C(60)'),
    ('ENDERECO', 'C(50)'), ('BAIRRO', 'C(30)'), ('CIDADE', 'C(30)'),
    ('ESTADO', 'C(2)'), ('CEP', 'C(10)'), ('CGC', 'C(18)'), ('INSC', 'C(18)'),
    ('TELEFONE1', 'C(15)'), ('FAX', 'C(15)'), ('CONTATO', 'C(30)'),
    ('CELULAR', 'C(16)'), ('OBS1', 'C(60)'), ('REFERE', 'C(60)'),
    ('SPC1', 'C(40)'), ('SPC2', 'C(40)'), ('LOCAL_TRAB', 'C(40)'),
]
CLIENTES_ROWS = [
    ('1', D(1980, 12, 25), D(2015, 3, 10), 'José da Conceição Araújo',
     'Padaria Pão Quente', 'Maria da Conceição Araújo', 'Rua São João, 120',
     'Centro', 'São Paulo', 'sp', '01035-000', '123.456.789-09', '',
     '(11) 3222-1234', '', 'José', '(11) 98765-4321',
     'Cliente desde 1998', 'Banco do Brasil ag. 1234-5', 'Nada consta', '',
     'Autônomo'),
    ('123', D(1975, 6, 2), D(2019, 8, 1),
     'Comércio "Irmãos Gonçalves" Ltda', 'Irmãos Gonçalves', '',
     'Av. Afonso Pena, 1500 - sala 3', 'Funcionários', 'BHTE', 'MG',
     '30130-005', '12.345.678/0001-95', 'ISENTO', '(31) 3333-4444',
     '(31) 3333-4445', 'Ângela', '9988-7766', 'Paga sempre em dia', '', '',
     '', ''),
    ('12.345', None, None, "Lanchonete D'Ávila", '', '', 'Praça da Sé, s/n',
     'Sé', 'São Paulo', 'SP', '01001000', '98765432000110', '110.042.490.114',
     '11 5555 0000', '', '', '98888-7777', '', 'Indicado por José', 'Consta',
     'Protesto 2021', ''),
    ('4', D(1990, 1, 31), D(2020, 11, 15), 'Açougue e Mercearia Três Irmãos',
     'AÇOUGUE TRÊS IRMÃOS', 'João e Conceição', 'Rua das Flores, 77', 'Eldorado',
     'Contagem', '', '32000-000', '', '', '', '', 'Seu Tião', '', '', '', '',
     '', 'Comerciante'),
    ('00000005', D(1968, 2, 29), D(2010, 5, 5), 'ÁGUA MINERAL SERRA AZUL LTDA',
     'Serra Azul', '', 'Rodovia BR-040, km 688', 'Distrito Industrial',
     'Belo Horizonte', 'MG', '31.030-470', '01.234.567/0001-88', 'ISENTO',
     '(31)3456-7890', '(31)3456-7891', 'Sr. Élcio', '(31) 9 9123-4567',
     'Entrega às terças e sextas', 'Ref. comercial: Padaria Pão Quente', '',
     '', ''),
    ('6', None, D(2023, 7, 20), '', '', '', '', '', '', '', '', '', '', '',
     '', '', '', 'Cadastro incompleto (sem nome)', '', '', '', ''),
    ('7', D(2001, 9, 9), D(2022, 2, 14), 'Luís Antônio Pereira',
     'Luís Antônio', 'Antônia Pereira', 'Rua Goitacazes, 15', 'Centro',
     'BELO HORIZONTE', 'mg', '30190-050', '529.982.247-25', '', '(31) 3201-1010',
     '', '', '31987654321', '', '', '', '', 'Escola Estadual Afonso Pena'),
]

FORNEC_FIELDS = [
    ('CODIGO', 'C(6)'), ('RAZAOSOC', 'C(50)'), ('FANTASIA', 'C(40)'),
    ('ENDERECO', 'C(50)'), ('BAIRRO', 'C(30)'), ('CIDADE', 'C(30)'),
    ('ESTADO', 'C(2)'), ('CEP', 'C(10)'), ('CGC', 'C(18)'), ('INSC', 'C(18)'),
    ('TELEFONE1', 'C(20)'), ('FAX', 'C(20)'),
]
FORNEC_ROWS = [
    ('42', "D'Avila Distribuidora de Ferragens Ltda", "D'Avila Ferragens",
     'Av. do Contorno, 5000', 'Funcionários', 'Belo Horizonte', 'MG',
     '30110-100', '23.456.789/0001-06', '062.307.904.0081', '(31) 3271-0000',
     '(31) 3271-0001'),
    ('45', 'Tigre Distribuição Sul', 'Tigre', 'Rua Dona Francisca, 8300',
     'Zona Industrial', 'BHTE', 'MG', '89219-600', '34567890000107', 'ISENTO',
     '0800 707 1650', ''),
    ('7', 'Comércio de Tintas São Judas', 'Tintas São Judas', 'Rua da Mooca, 1200',
     'Mooca', 'São Paulo', 'sp', '03103-002', '45.678.901/0001-23',
     '111.222.333.444', '(11) 2692-3000', '(11) 2692-3001'),
    ('12', 'Marcenaria do Sebastião', '', 'Sítio Boa Esperança', 'Zona Rural',
     'Itaúna', 'MG', '35680-000', '111.444.777-35', 'ISENTO', '(37) 9 9999-0000',
     ''),
    ('13', '   ', 'Fornecedor sem razão social', 'Rua Vazia, 0', '', 'Contagem',
     'MG', '', '', '', '', ''),
    ('000099', 'Eletro Conexões e Iluminação Ltda', 'Eletro Conexões',
     'Rua Curitiba, 800 - loja 2', 'Centro', 'Belo Horizonte', '', '30170-120',
     '56.789.012/0001-34', '', '(31) 3222-5555 r.22', ''),
]

GRUPO_FIELDS = [('CODIGO', 'C(4)'), ('DESCRICAO', 'C(50)')]
GRUPO_ROWS = [
    ('1', 'Ferramentas'),
    ('0012', 'Material Elétrico'),
    ('5', 'Hidráulica'),
    ('0020', 'Tintas e Acessórios'),
    ('30', '  '),
    ('0456', '  Iluminação e Decoração para Áreas Externas'),
]

SUBGRUPO_FIELDS = [('CODIGO', 'C(4)'), ('DESCRICAO', 'C(50)')]
SUBGRUPO_ROWS = [
    ('0101', 'Chaves e alicates'),
    ('0102', 'Ferramentas elétricas'),
    ('1201', 'Fios e cabos'),
    ('1202', 'Tomadas e interruptores'),
    ('0501', 'Tubos e conexões'),
    ('0502', ''),
    ('2001', ' Látex e acrílicas'),
]

FABRICA_FIELDS = [('CODIGO', 'C(7)'), ('RAZAOSOC', 'C(40)')]
FABRICA_ROWS = [
    ('12', 'Tramontina S.A.'),
    ('7', 'Tigre S.A. Tubos e Conexões'),
    ('150', 'Pial Legrand'),
    ('3', 'Suvinil - Tintas Ação Rápida'),
    ('45', "Irmãos D'Ângelo Ferramentas"),
    ('99', ''),
    ('1234567', 'Fábrica com código longo Ltda'),
]

PR_FIELDS = [
    ('CODITEM', 'C(10)'), ('GRUPO', 'C(5)'), ('SUBGRUPO', 'C(5)'),
    ('DESCRICAO', 'C(50)'), ('UNIDADE', 'C(8)'), ('ESTMIN', 'N(10,3)'),
    ('PVENDA', 'N(12,2)'), ('COMISSAO', 'N(6,2)'), ('CUSTOATUAL', 'N(12,4)'),
    ('CUSTOMEDIO', 'N(12,4)'), ('C_FISCAL', 'C(2)'), ('EMPRESA', 'C(2)'),
    ('CODFAB', 'C(5)'),
]
PR_ROWS = [
    ('000101', '00001', '00001', 'Alicate universal 8" isolado', 'un',
     5, 39.9, 2.5, 21.35, 20.9, '17', '01', '12'),
    ('000102', '00001', '00001', 'Chave de fenda 1/4 x 6 - Tramontina', 'PC',
     10, 12.5, 2.5, 6.2, 6.0, '01', '01', '12'),
    ('000105', '00005', '00001', 'Tubo PVC soldável 25mm barra 6m', 'Barra6m',
     20, 18.75, 1.0, 9.8, 9.65, '18', '01', '7'),
    ('000106', '00020', '00001', 'Tinta látex acrílica 18L branco neve', 'GL',
     2, 289.0, 3.0, 180.0, 175.5, '12', '01', ''),
    # ends like 000106 and follows it in CODITEM order: not written again
    ('1000106', '00020', '00001', 'Tinta látex (cadastro repetido)', 'GL',
     2, 299.0, 3.0, 185.0, 185.0, '12', '01', ''),
    ('000099', '00001', '00002', '', 'UN',
     0, 0, 0, None, None, '', '01', ''),
    ('42', '00012', '00002', 'Tomada 2P+T 10A branca - padrão NBR', 'Caixa12',
     12, 8.9, 0, None, 4.1, '', '01', '150'),
    ('ABC0012345', '00012', '00001', 'Fio flexível 2,5mm rolo 100m - ação', 'RL',
     3, 249.9, 1.5, 160.0, 158.25, '17', '01', '150'),
    ('000101', '00001', '00001', 'Alicate universal 8" (loja 2)', 'UN',
     2, 42.0, 2.5, 22.0, 22.0, '17', '02', '12'),
    ('000201', '00005', '00001', 'Registro de gaveta 3/4 (loja 2)', 'UN',
     4, 35.0, 1.0, 19.0, 19.0, '18', '02', '7'),
]

CR_FIELDS = [
    ('CODEMP', 'C(2)'), ('CODCLI', 'N(8,0)'), ('NUMERO_DOC', 'C(12)'),
    ('EMISSAO', 'D'), ('VENCIMENTO', 'D'), ('VALOR', 'N(12,2)'),
    ('VENDEDOR', 'N(4,0)'), ('PAGAMENTO', 'D'),
]
CR_ROWS = [
    ('01', 1, '000123/01', D(2024, 11, 5), D(2024, 12, 5), 350.0, 3, None),
    ('01', 1, '000123/02', D(2024, 11, 5), D(2025, 1, 5), 350.0, 3, None),
    ('01', 123, 'NF "4512"', D(2024, 11, 20), D(2024, 12, 20), 1234.56, 12, None),
    ('01', 7, '000130', None, D(2025, 1, 10), 99.9, None, None),
    ('01', 5, '000099', D(2024, 9, 1), D(2024, 10, 1), 780.0, 3, D(2024, 10, 1)),
    ('02', 1, '000500', D(2024, 12, 1), D(2025, 1, 1), 55.5, 1, None),
    ('02', 4, '000501', D(2024, 8, 1), D(2024, 9, 1), 120.0, 1, D(2024, 9, 3)),
]

CONTPAG_FIELDS = [
    ('CODEMP', 'C(2)'), ('NUMERO_DOC', 'C(12)'), ('CODFOR', 'N(6,0)'),
    ('VALOR', 'N(12,2)'), ('EMISSAO', 'D'), ('VENCIMENTO', 'D'),
    ('HISTORICO', 'C(60)'), ('PAGAMENTO', 'D'),
]
CONTPAG_ROWS = [
    ('01', 'NF 4512', 42, 1250.75, D(2024, 11, 10), D(2024, 12, 10),
     'Compra de ferramentas - pedido nº 77', None),
    ('01', 'NF 4513', 45, 3400.0, D(2024, 11, 12), D(2025, 1, 12),
     'Tubos e conexões, 2ª parcela "urgente"', None),
    ('01', 'REC-0031', 7, 89.9, None, None,
     'Manutenção do caminhão (sem datas)', None),
    ('01', 'NF 4400', 42, 500.0, D(2024, 9, 1), D(2024, 10, 1),
     'Já paga: não é convertida', D(2024, 10, 1)),
    ('02', 'NF 9001', 12, 640.0, D(2024, 12, 1), D(2025, 1, 15),
     'Prateleiras da loja 2 - Sebastião', None),
    ('02', 'NF 9002', 12, 200.0, D(2024, 7, 1), D(2024, 8, 1),
     'Paga em agosto', D(2024, 8, 1)),
]

TABLES = [
    ('CLIENTES.DBF', CLIENTES_FIELDS, CLIENTES_ROWS),
    ('FORNEC.DBF', FORNEC_FIELDS, FORNEC_ROWS),
    ('GRUPO.DBF', GRUPO_FIELDS, GRUPO_ROWS),
    ('SUBGRUPO.DBF', SUBGRUPO_FIELDS, SUBGRUPO_ROWS),
    ('FABRICA.DBF', FABRICA_FIELDS, FABRICA_ROWS),
    ('PR.DBF', PR_FIELDS, PR_ROWS),
    ('CR.DBF', CR_FIELDS, CR_ROWS),
    ('CONTPAG.DBF', CONTPAG_FIELDS, CONTPAG_ROWS),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, 'tolv')
    os.makedirs(folder, exist_ok=True)
    for name, fields, rows in TABLES:
        path = write_table(folder, name, fields, rows)
        print('%s: %d rows' % (path, len(rows)))


if __name__ == '__main__':
    main()
