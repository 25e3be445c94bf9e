# Installing as a Linux desktop application, and the Debian package:
#   cmake --build build --target package   ->  build/tallowby_<version>_<arch>.deb
# The version is project(VERSION) alone; the date below belongs to that release.
set(TALLOWBY_APP_ID "example.tallowby.Tallowby")
set(TALLOWBY_RELEASE_DATE "2026-12-08")
set(TALLOWBY_CHANGELOG_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
set(TALLOWBY_MAINTAINER "Tallowby developers <dev@tallowby.example>")

# The installed programs get full RELRO (symbols bound at start, then read-only),
# as Debian links its own.
foreach(program tallowby tallowby-fill)
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
endforeach()

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_gen ${PROJECT_BINARY_DIR}/packaging)

# Desktop entry and icons: 256 px (also embedded in the program), smaller
# sizes and the scalable drawing, all from scripts/make-app-icon.py.
install(FILES resources/tallowby.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${TALLOWBY_APP_ID}.desktop)
install(FILES resources/tallowby.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
foreach(size 16 32 48 64 128)
    install(FILES resources/icons/${size}x${size}/tallowby.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/icons/tallowby.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

configure_file(${packaging_src}/${TALLOWBY_APP_ID}.metainfo.xml.in
               ${packaging_gen}/${TALLOWBY_APP_ID}.metainfo.xml @ONLY)
install(FILES ${packaging_gen}/${TALLOWBY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, gzipped without name or time stamp so the
# package is reproducible.
set(gzipped "")
foreach(source man/tallowby.1 man/tallowby-fill.1 changelog)
    get_filename_component(name ${source} NAME)
    configure_file(${packaging_src}/${source}.in ${packaging_gen}/${name} @ONLY)
    add_custom_command(OUTPUT ${packaging_gen}/${name}.gz
                       COMMAND gzip -9nkf ${packaging_gen}/${name}
                       DEPENDS ${packaging_gen}/${name} VERBATIM)
    list(APPEND gzipped ${packaging_gen}/${name}.gz)
endforeach()
add_custom_target(tallowby_packaging_files ALL DEPENDS ${gzipped})
install(FILES ${packaging_gen}/tallowby.1.gz ${packaging_gen}/tallowby-fill.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_src}/copyright ${packaging_gen}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallowby)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallowby)
set(CPACK_PACKAGE_VENDOR "Tallowby developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TALLOWBY_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weekly employee timesheet workbooks from a few minutes of typing")
# CPack puts the summary first and indents these lines for the control file.
set(CPACK_PACKAGE_DESCRIPTION
    "Tallowby fills in a weekly employee timesheet in the Excel 97-2003 (.xls)
format: type the company and employee details, the week start, the hour
rates and the hours worked per day and rate type. It fills its own template,
whose formulas compute every total and all pay, shows a picture of the
filled sheet with zoom and panning, and saves the workbook where you choose.
No spreadsheet application is needed.

The package also holds tallowby-fill, which makes the same workbook from the
command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALLOWBY_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALLOWBY_HOME_PAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
