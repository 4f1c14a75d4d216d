#!/usr/bin/python3
"""Makes the encrypted test books in tests/data/encrypted/.

Each book holds one sheet of 400 rows, A1 to A400 "<scheme> row <n>", so
that an Excel 97-2003 stream runs over many 1024-byte cipher blocks.  Every
scheme is written twice: with Excel's default password VelvetSweatshop
(read without being asked) and with the password PASSWORD below.

    rc4_*.xls            LibreOffice Calc, "MS Excel 97" with a password (RC4)
    standard_*.xlsx      officecrypto-tool (npm), standard encryption (AES-128)
    agile_*.xlsx         officecrypto-tool (npm), agile encryption (AES, SHA-512)

The producers have nothing to do with this project.  Run it from anywhere;
it rewrites the books in place.

    sudo apt-get install python3-openpyxl python3-uno libreoffice-calc-nogui nodejs npm
    scripts/make_fixtures_encrypted.py
"""
import os
import subprocess
import tempfile
import time

import openpyxl

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "encrypted")
DEFAULT_PASSWORD = "VelvetSweatshop"
PASSWORD = "Z-Scan 秘密"
ROWS = 400
PASSWORDS = {"default": DEFAULT_PASSWORD, "password": PASSWORD}

ENCRYPT_JS = """
const oc = require('officecrypto-tool');
const fs = require('fs');
const [input, output, password, type] = process.argv.slice(2);
const options = type === 'standard' ? {password, type} : {password};
fs.writeFileSync(output, oc.encrypt(fs.readFileSync(input), options));
"""


def plain_book(path, scheme):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Sheet1"
    for row in range(1, ROWS + 1):
        sheet.cell(row=row, column=1, value=f"{scheme} row {row}")
    book.save(path)


def encrypt_packages(work):
    subprocess.run(["npm", "install", "--silent", "--prefix", work, "officecrypto-tool@0.0.19"], check=True)
    script = os.path.join(work, "encrypt.js")
    with open(script, "w") as out:
        out.write(ENCRYPT_JS)
    for scheme in ("standard", "agile"):
        plain = os.path.join(work, f"{scheme}.xlsx")
        plain_book(plain, scheme)
        for kind, password in PASSWORDS.items():
            target = os.path.join(OUT, f"{scheme}_{kind}.xlsx")
            subprocess.run(["node", script, plain, target, password, scheme], check=True,
                           env=dict(os.environ, NODE_PATH=os.path.join(work, "node_modules")))


def encrypt_xls(work):
    import uno
    from com.sun.star.beans import PropertyValue

    def prop(name, value):
        item = PropertyValue()
        item.Name, item.Value = name, value
        return item

    plain = os.path.join(work, "rc4.xlsx")
    plain_book(plain, "rc4")
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                               f"-env:UserInstallation=file://{work}/profile",
                               "--accept=socket,host=127.0.0.1,port=2302;urp;"])
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(60):
            try:
                context = resolver.resolve("uno:socket,host=127.0.0.1,port=2302;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(1)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        for kind, password in PASSWORDS.items():
            doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(plain), "_blank", 0, (prop("Hidden", True),))
            target = uno.systemPathToFileUrl(os.path.join(OUT, f"rc4_{kind}.xls"))
            doc.storeToURL(target, (prop("FilterName", "MS Excel 97"), prop("Password", password)))
            doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        office.wait(timeout=60)


def main():
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        encrypt_packages(work)
        encrypt_xls(work)


if __name__ == "__main__":
    main()
