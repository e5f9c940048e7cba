# Installation as a desktop application, and the Debian package built from it by CPack
# (scripts/package.sh). Included from the top directory after the programs are defined.
include(GNUInstallDirs)
# Folders made by the installation are world-readable whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(KV730_APP_ID com.veltrona.kv730)
set(KV730_PACKAGE_CONTACT "Veltrona <support@veltrona.example>"
    CACHE STRING "Maintainer of the Debian package (name and e-mail address)")

install(TARGETS kv730 kv730-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    set(desktop ${KV730_RES_DIR}/desktop)
    install(FILES ${desktop}/${KV730_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${desktop}/${KV730_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    configure_file(${desktop}/${KV730_APP_ID}.metainfo.xml.in
                   ${KV730_RES_BIN}/${KV730_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${KV730_RES_BIN}/${KV730_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The application icon at the icon theme's sizes, drawn by the icon tool at build time.
    set(icon_dir ${KV730_RES_BIN}/icons)
    set(icons)
    foreach(size 16 24 32 48 64 128 256)
        list(APPEND icons ${icon_dir}/${size}x${size}/apps/kv730.png)
        install(FILES ${icon_dir}/${size}x${size}/apps/kv730.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_command(OUTPUT ${icons}
                       COMMAND kv730-icons --app-icon ${icon_dir} > /dev/null
                       DEPENDS kv730-icons
                       COMMENT "Drawing the application icon")

    # Manual pages and the package's changelog, compressed as Debian installs them.
    execute_process(COMMAND date -u -R -d ${KV730_RELEASE_DATE}
                    OUTPUT_VARIABLE KV730_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(KV730_MAINTAINER ${KV730_PACKAGE_CONTACT})
    configure_file(${KV730_RES_DIR}/debian/changelog.in ${KV730_RES_BIN}/changelog @ONLY)
    set(compressed)
    foreach(file ${KV730_RES_DIR}/man/kv730.1 ${KV730_RES_DIR}/man/kv730-convert.1
                 ${KV730_RES_BIN}/changelog)
        get_filename_component(name ${file} NAME)
        add_custom_command(OUTPUT ${KV730_RES_BIN}/${name}.gz
                           COMMAND gzip -9n -c ${file} > ${KV730_RES_BIN}/${name}.gz
                           DEPENDS ${file})
        list(APPEND compressed ${KV730_RES_BIN}/${name}.gz)
    endforeach()
    add_custom_target(kv730-install-files ALL DEPENDS ${icons} ${compressed})
    install(FILES ${KV730_RES_BIN}/kv730.1.gz ${KV730_RES_BIN}/kv730-convert.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${KV730_RES_DIR}/debian/copyright ${KV730_RES_BIN}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# Debian package: kv730_<version>_amd64.deb, dependencies computed from the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kv730)
set(CPACK_PACKAGE_VENDOR Veltrona)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KV730_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion tool for the KV-730 GPS data logger")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Lists the KV-730 loggers that are plugged in, downloads their track logs and\n"
    "shows the tracks on a road map, in a track list and a point list. Tracks can\n"
    "be played back, filtered by speed and saved as a track archive, GPX, KML or\n"
    "CSV; the logger's settings can be edited. kv730-convert lists and converts\n"
    "track files from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (file dialogs, buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
