#!/usr/bin/python3
"""Makes the books of texts outside cells in tests/data/outside_cells.

  xlsxwriter_shapes.xlsx  XlsxWriter: a text box at D10, a comment on B3,
                          a formula in C5
  openpyxl_comment.xlsx   openpyxl: a comment on C4
  handmade.xlsx           written part by part here: a threaded comment on
                          B3 with its copy for older programs, a group of
                          two shapes at F20, a chart at H2 with a shape
                          drawn over it, and a chart sheet with a shape
  *.xls                   each of them converted by LibreOffice

Each text outside the cells holds a word of its own and "apple" (one of the
window test's words).  Usage: make_outside_cell_fixtures.py [FOLDER]"""
import os
import subprocess
import sys
import tempfile
import zipfile

import openpyxl
import xlsxwriter
from openpyxl.comments import Comment

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data', 'outside_cells')
os.makedirs(out, exist_ok=True)


def xlsxwriter_book(path):
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet('図形')
    sheet.write('A1', 1)
    sheet.write('B1', 2)
    sheet.write('A2', 3)
    sheet.write('B2', 4)
    sheet.write_formula('C5', '=VLOOKUP(A1,A1:B2,2,FALSE)', None, 2)
    sheet.insert_textbox('D10', 'はこぶね apple\n二行目', {'width': 200, 'height': 60})
    sheet.write_comment('B3', 'りんごメモ apple')
    book.close()


def openpyxl_book(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = 'メモ'
    sheet['A1'] = '見出し'
    sheet['C4'].comment = Comment('ぶどうメモ apple', 'zscan')
    book.save(path)


MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG_REL = 'http://schemas.openxmlformats.org/package/2006/relationships'
XDR = 'http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing'
A = 'http://schemas.openxmlformats.org/drawingml/2006/main'
C = 'http://schemas.openxmlformats.org/drawingml/2006/chart'
CDR = 'http://schemas.openxmlformats.org/drawingml/2006/chartDrawing'
TC = 'http://schemas.microsoft.com/office/spreadsheetml/2018/threadedcomments'
HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'


def rels(*items):
    body = ''.join(f'<Relationship Id="{i}" Type="{t}" Target="{p}"/>' for i, t, p in items)
    return f'{HEAD}<Relationships xmlns="{PKG_REL}">{body}</Relationships>'


def paragraphs(*lines):
    return ''.join('<a:p>' + ''.join(f'<a:r><a:t>{run}</a:t></a:r>' for run in line) + '</a:p>' for line in lines)


def shape(prefix, shape_id, name, lines):
    return (f'<{prefix}:sp macro="" textlink=""><{prefix}:nvSpPr><{prefix}:cNvPr id="{shape_id}" name="{name}"/>'
            f'<{prefix}:cNvSpPr/></{prefix}:nvSpPr><{prefix}:spPr><a:xfrm><a:off x="0" y="0"/>'
            f'<a:ext cx="1000000" cy="500000"/></a:xfrm><a:prstGeom prst="roundRect"><a:avLst/></a:prstGeom>'
            f'</{prefix}:spPr><{prefix}:txBody><a:bodyPr/><a:lstStyle/>{paragraphs(*lines)}</{prefix}:txBody>'
            f'</{prefix}:sp>')


def cell_anchor(col, row, col2, row2, body):
    def corner(tag, c, r):
        return (f'<xdr:{tag}><xdr:col>{c}</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>{r}</xdr:row>'
                f'<xdr:rowOff>0</xdr:rowOff></xdr:{tag}>')
    return f'<xdr:twoCellAnchor>{corner("from", col, row)}{corner("to", col2, row2)}{body}<xdr:clientData/></xdr:twoCellAnchor>'


def chart_frame(shape_id):
    return (f'<xdr:graphicFrame macro=""><xdr:nvGraphicFramePr><xdr:cNvPr id="{shape_id}" name="グラフ {shape_id}"/>'
            '<xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm><a:off x="0" y="0"/><a:ext cx="0" cy="0"/>'
            f'</xdr:xfrm><a:graphic><a:graphicData uri="{C}"><c:chart xmlns:c="{C}" r:id="rId1"/></a:graphicData>'
            '</a:graphic></xdr:graphicFrame>')


def drawing(*anchors):
    return f'{HEAD}<xdr:wsDr xmlns:xdr="{XDR}" xmlns:a="{A}" xmlns:r="{REL}">{"".join(anchors)}</xdr:wsDr>'


def chart():
    axis = '<c:scaling><c:orientation val="minMax"/></c:scaling><c:delete val="0"/>'
    return (f'{HEAD}<c:chartSpace xmlns:c="{C}" xmlns:a="{A}" xmlns:r="{REL}"><c:chart><c:plotArea><c:layout/>'
            '<c:barChart><c:barDir val="col"/><c:grouping val="clustered"/><c:varyColors val="0"/><c:ser>'
            '<c:idx val="0"/><c:order val="0"/><c:val><c:numRef><c:f>Sheet1!$A$1:$A$3</c:f></c:numRef></c:val>'
            '</c:ser><c:axId val="1"/><c:axId val="2"/></c:barChart>'
            f'<c:catAx><c:axId val="1"/>{axis}<c:axPos val="b"/><c:crossAx val="2"/></c:catAx>'
            f'<c:valAx><c:axId val="2"/>{axis}<c:axPos val="l"/><c:crossAx val="1"/></c:valAx>'
            '</c:plotArea></c:chart><c:userShapes r:id="rId1"/></c:chartSpace>')


def user_shapes(name, text):
    return (f'{HEAD}<c:userShapes xmlns:c="{C}" xmlns:a="{A}" xmlns:cdr="{CDR}"><cdr:relSizeAnchor>'
            '<cdr:from><cdr:x>0.1</cdr:x><cdr:y>0.1</cdr:y></cdr:from><cdr:to><cdr:x>0.5</cdr:x><cdr:y>0.3</cdr:y>'
            f'</cdr:to>{shape("cdr", 2, name, [[text]])}</cdr:relSizeAnchor></c:userShapes>')


THREAD = '{7A1B2C3D-0000-4000-8000-000000000001}'
PERSON = '{7A1B2C3D-0000-4000-8000-0000000000AA}'
LEGACY_COPY = ('[Threaded comment]\n\nYour version of Excel allows you to read this threaded comment; however, '
               'any edits to it will get removed if the file is opened in a newer version of Excel. Learn more: '
               'https://go.microsoft.com/fwlink/?linkid=870924\n\nComment:\n    すいかスレッド apple\nReply:\n    返信です')


def handmade_book(path):
    types = {
        '/xl/workbook.xml': 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml',
        '/xl/worksheets/sheet1.xml': 'application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml',
        '/xl/chartsheets/sheet1.xml': 'application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml',
        '/xl/styles.xml': 'application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml',
        '/xl/comments1.xml': 'application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml',
        '/xl/threadedComments/threadedComment1.xml': 'application/vnd.ms-excel.threadedcomments+xml',
        '/xl/persons/person.xml': 'application/vnd.ms-excel.person+xml',
        '/xl/drawings/drawing1.xml': 'application/vnd.openxmlformats-officedocument.drawing+xml',
        '/xl/drawings/drawing2.xml': 'application/vnd.openxmlformats-officedocument.drawing+xml',
        '/xl/drawings/drawing3.xml': 'application/vnd.openxmlformats-officedocument.drawingml.chartshapes+xml',
        '/xl/drawings/drawing4.xml': 'application/vnd.openxmlformats-officedocument.drawingml.chartshapes+xml',
        '/xl/charts/chart1.xml': 'application/vnd.openxmlformats-officedocument.drawingml.chart+xml',
        '/xl/charts/chart2.xml': 'application/vnd.openxmlformats-officedocument.drawingml.chart+xml',
    }
    overrides = ''.join(f'<Override PartName="{p}" ContentType="{t}"/>' for p, t in types.items())
    rows = ''.join(f'<row r="{r}"><c r="A{r}"><v>{r}</v></c></row>' for r in (1, 2, 3))
    parts = {
        '[Content_Types].xml': f'{HEAD}<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                               '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                               f'<Default Extension="xml" ContentType="application/xml"/>{overrides}</Types>',
        '_rels/.rels': rels(('rId1', f'{REL}/officeDocument', 'xl/workbook.xml')),
        'xl/workbook.xml': f'{HEAD}<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets>'
                           '<sheet name="Sheet1" sheetId="1" r:id="rId1"/><sheet name="グラフ" sheetId="2" r:id="rId2"/>'
                           '</sheets></workbook>',
        'xl/_rels/workbook.xml.rels': rels(('rId1', f'{REL}/worksheet', 'worksheets/sheet1.xml'),
                                           ('rId2', f'{REL}/chartsheet', 'chartsheets/sheet1.xml'),
                                           ('rId3', f'{REL}/styles', 'styles.xml')),
        'xl/styles.xml': f'{HEAD}<styleSheet xmlns="{MAIN}"><fonts count="1"><font><sz val="11"/><name val="Calibri"/>'
                         '</font></fonts><fills count="1"><fill><patternFill patternType="none"/></fill></fills>'
                         '<borders count="1"><border/></borders><cellStyleXfs count="1"><xf/></cellStyleXfs>'
                         '<cellXfs count="1"><xf/></cellXfs></styleSheet>',
        'xl/worksheets/sheet1.xml': f'{HEAD}<worksheet xmlns="{MAIN}" xmlns:r="{REL}"><sheetData>{rows}</sheetData>'
                                    '<drawing r:id="rId3"/></worksheet>',
        'xl/worksheets/_rels/sheet1.xml.rels': rels(
            ('rId1', 'http://schemas.microsoft.com/office/2017/10/relationships/threadedComment',
             '../threadedComments/threadedComment1.xml'),
            ('rId2', f'{REL}/comments', '../comments1.xml'),
            ('rId3', f'{REL}/drawing', '../drawings/drawing1.xml')),
        'xl/comments1.xml': f'{HEAD}<comments xmlns="{MAIN}"><authors><author>tc={THREAD}</author></authors>'
                            f'<commentList><comment ref="B3" authorId="0"><text><t>{LEGACY_COPY}</t></text>'
                            '</comment></commentList></comments>',
        'xl/threadedComments/threadedComment1.xml':
            f'{HEAD}<ThreadedComments xmlns="{TC}"><threadedComment ref="B3" dT="2026-12-01T10:00:00.00" '
            f'personId="{PERSON}" id="{THREAD}"><text>すいかスレッド apple</text></threadedComment>'
            f'<threadedComment ref="B3" dT="2026-12-01T11:00:00.00" personId="{PERSON}" '
            f'id="{{7A1B2C3D-0000-4000-8000-000000000002}}" parentId="{THREAD}"><text>返信です</text>'
            '</threadedComment></ThreadedComments>',
        'xl/persons/person.xml': f'{HEAD}<personList xmlns="{TC}"><person displayName="zscan" id="{PERSON}" '
                                 'userId="zscan" providerId="None"/></personList>',
        # A group at F20 of two shapes (the first's runs joined), and a
        # chart at H2.
        'xl/drawings/drawing1.xml': drawing(
            cell_anchor(5, 19, 9, 25,
                        '<xdr:grpSp><xdr:nvGrpSpPr><xdr:cNvPr id="2" name="グループ化 1"/><xdr:cNvGrpSpPr/>'
                        '</xdr:nvGrpSpPr><xdr:grpSpPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="2000000" cy="500000"/>'
                        '<a:chOff x="0" y="0"/><a:chExt cx="2000000" cy="500000"/></a:xfrm></xdr:grpSpPr>' +
                        shape('xdr', 3, '角丸四角形 3', [['ぐる', 'ーぷ apple']]) +
                        shape('xdr', 4, '楕円 4', [['もう一つの図形']]) + '</xdr:grpSp>'),
            cell_anchor(7, 1, 12, 12, chart_frame(5))),
        'xl/drawings/_rels/drawing1.xml.rels': rels(('rId1', f'{REL}/chart', '../charts/chart1.xml')),
        'xl/charts/chart1.xml': chart(),
        'xl/charts/_rels/chart1.xml.rels': rels(('rId1', f'{REL}/chartUserShapes', '../drawings/drawing3.xml')),
        'xl/drawings/drawing3.xml': user_shapes('吹き出し 1', 'グラフ上の言葉 apple'),
        'xl/chartsheets/sheet1.xml': f'{HEAD}<chartsheet xmlns="{MAIN}" xmlns:r="{REL}"><sheetViews>'
                                     '<sheetView workbookViewId="0"/></sheetViews><drawing r:id="rId1"/></chartsheet>',
        'xl/chartsheets/_rels/sheet1.xml.rels': rels(('rId1', f'{REL}/drawing', '../drawings/drawing2.xml')),
        'xl/drawings/drawing2.xml': drawing('<xdr:absoluteAnchor><xdr:pos x="0" y="0"/><xdr:ext cx="8000000" '
                                           f'cy="5000000"/>{chart_frame(2)}<xdr:clientData/></xdr:absoluteAnchor>'),
        'xl/drawings/_rels/drawing2.xml.rels': rels(('rId1', f'{REL}/chart', '../charts/chart2.xml')),
        'xl/charts/chart2.xml': chart(),
        'xl/charts/_rels/chart2.xml.rels': rels(('rId1', f'{REL}/chartUserShapes', '../drawings/drawing4.xml')),
        'xl/drawings/drawing4.xml': user_shapes('テキスト 1', 'チャートシートの言葉 apple'),
    }
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as package:
        for name, text in parts.items():
            package.writestr(name, text.encode('utf-8'))


books = {'xlsxwriter_shapes.xlsx': xlsxwriter_book, 'openpyxl_comment.xlsx': openpyxl_book,
         'handmade.xlsx': handmade_book}
for name, make in books.items():
    make(os.path.join(out, name))
# LibreOffice writes the .xls books, with a profile of its own.
with tempfile.TemporaryDirectory() as profile:
    subprocess.run(['soffice', f'-env:UserInstallation=file://{profile}', '--headless', '--convert-to', 'xls',
                    '--outdir', out] + [os.path.join(out, name) for name in books],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
