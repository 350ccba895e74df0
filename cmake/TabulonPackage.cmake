# The Debian package: `cpack -G DEB` in the build folder writes tabulon_VERSION_ARCH.deb with
# everything `cmake --install` puts in place, under /usr. Its Depends come from the shared
# libraries the programs link (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VENDOR Quillmark)
set(CPACK_PACKAGE_CONTACT "Quillmark <tabulon@quillmark.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turn spreadsheet workbooks into CSV text")
# Debian wants the lines of the long description within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Tabulon turns spreadsheet workbooks (xlsx, xlsm, xls, xlsb, ods) into plain
CSV text, one file per workbook, per worksheet, per row or per column, with
its own workbook engine: no spreadsheet application is needed. The package
holds the window, tabulon, and the command-line tool tabulon-cli, which
writes the same files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows ask for Arial; Liberation Sans has its metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)

include(CPack)
