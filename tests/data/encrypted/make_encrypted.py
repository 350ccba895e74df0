#!/usr/bin/python3
"""Makes the encrypted test workbooks of this folder with LibreOffice (through its UNO bridge),
and their plain copies. Run from this folder with the system Python: /usr/bin/python3 make_encrypted.py
Needs libreoffice-calc-nogui and python3-uno (test files only; not a Tabulon dependency)."""
import os
import subprocess
import time

import uno
from com.sun.star.beans import PropertyValue

PASSWORD = "Tabulon-1"
PIPE = "tabulon_make_encrypted"


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect():
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                               f"--accept=pipe,name={PIPE};urp;"])
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(60):
        try:
            return office, resolver.resolve(
                f"uno:pipe,name={PIPE};urp;StarOffice.ComponentContext")
        except Exception:
            time.sleep(0.5)
    raise SystemExit("LibreOffice did not start")


def fill(doc):
    sheets = doc.Sheets
    first = sheets.getByIndex(0)
    first.Name = "Data"
    first.getCellByPosition(0, 0).String = "Name"
    first.getCellByPosition(1, 0).String = "Amount"
    first.getCellByPosition(2, 0).String = "Note"
    # Enough distinct text that each package part outgrows one kilobyte once compressed.
    for row in range(1, 120):
        first.getCellByPosition(0, row).String = f"Entry {row} \u00e4\u00f6\u00fc \u20ac"
        first.getCellByPosition(1, row).Value = row * 1.25
        first.getCellByPosition(2, row).String = f"note-{row * 7919 % 10007}"
    sheets.insertNewByName("Second", 1)
    second = sheets.getByIndex(1)
    second.getCellByPosition(0, 0).String = "x"
    second.getCellByPosition(1, 1).Value = 42
    second.getCellByPosition(1, 2).Formula = "=B2*2"


def save(doc, name, filter_name, password=None):
    args = [prop("FilterName", filter_name), prop("Overwrite", True)]
    if password is not None:
        args.append(prop("Password", password))
    doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(name)), tuple(args))


def set_odf_version(context, version):
    """Sets the ODF version that LibreOffice saves; ODF 1.1 encrypts with Blowfish and SHA-1."""
    provider = context.ServiceManager.createInstanceWithContext(
        "com.sun.star.configuration.ConfigurationProvider", context)
    access = provider.createInstanceWithArguments(
        "com.sun.star.configuration.ConfigurationUpdateAccess",
        (prop("nodepath", "/org.openoffice.Office.Common/Save/ODF"),))
    access.setPropertyValue("DefaultVersion", version)
    access.commitChanges()


def main():
    office, context = connect()
    try:
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                           (prop("Hidden", True),))
        fill(doc)
        save(doc, "plain.xlsx", "Calc MS Excel 2007 XML")
        save(doc, "rc4.xls", "MS Excel 97", PASSWORD)
        save(doc, "aes256.ods", "calc8", PASSWORD)
        set_odf_version(context, 2)
        save(doc, "blowfish.ods", "calc8", PASSWORD)
        set_odf_version(context, 3)
        doc.close(True)
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        office.wait(timeout=60)
    # LibreOffice cannot write encrypted OOXML without asking: ooxml_encrypt.py does.
    encrypt = ["/usr/bin/python3", "ooxml_encrypt.py", "plain.xlsx"]
    subprocess.run(encrypt + ["agile-sha512.xlsx", PASSWORD], check=True)
    subprocess.run(encrypt + ["agile-sha256-aes128.xlsx", PASSWORD, "--hash", "SHA256",
                              "--key-bits", "128", "--spin", "1000"], check=True)
    subprocess.run(encrypt + ["agile-sha1-aes192.xlsx", PASSWORD, "--hash", "SHA1",
                              "--key-bits", "192", "--spin", "10"], check=True)
    subprocess.run(encrypt + ["agile-sha384.xlsx", PASSWORD, "--hash", "SHA384",
                              "--spin", "0"], check=True)
    subprocess.run(encrypt + ["standard-aes128.xlsx", PASSWORD, "--standard"], check=True)
    subprocess.run(encrypt + ["default-password.xlsx", "VelvetSweatshop"], check=True)
    # A second implementation must be able to decrypt what the tests read (msoffcrypto-tool
    # 5.0 does not pad a key longer than the hash, as agile-sha1-aes192.xlsx needs).
    for name in ["agile-sha512.xlsx", "agile-sha256-aes128.xlsx", "agile-sha384.xlsx",
                 "standard-aes128.xlsx", "rc4.xls"]:
        subprocess.run(["msoffcrypto-tool", "-p", PASSWORD, name, "/dev/null"], check=True)
    subprocess.run(["msoffcrypto-tool", "-p", PASSWORD, "rc4.xls", "rc4.plain.xls"], check=True)
    # LibreOffice writes RC4 (version 1.1); xls_encrypt.py makes the CryptoAPI variants.
    encrypt = ["/usr/bin/python3", "xls_encrypt.py", "rc4.plain.xls"]
    subprocess.run(encrypt + ["rc4-cryptoapi.xls", PASSWORD], check=True)
    subprocess.run(encrypt + ["rc4-cryptoapi-40bit.xls", PASSWORD, "--key-bits", "40"],
                   check=True)
    for name in ["rc4-cryptoapi.xls", "rc4-cryptoapi-40bit.xls"]:
        subprocess.run(["msoffcrypto-tool", "-p", PASSWORD, name, "/dev/null"], check=True)
    # msoffcrypto-tool cannot read XOR obfuscation; LibreOffice opened this file with the
    # password (and refused a wrong one) when it was made.
    subprocess.run(encrypt + ["xor-obfuscated.xls", PASSWORD, "--xor"], check=True)

main()
