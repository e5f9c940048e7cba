# Included from the top directory, so that generated files share its scope.
set(KV730_RES_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KV730_RES_BIN ${CMAKE_CURRENT_BINARY_DIR}/resources)

# Icons and pictures.
target_sources(kv730ui PRIVATE ${KV730_RES_DIR}/images.qrc)

# Translations: compiled from the .ts sources at build time and embedded under :/translate/.
set(KV730_TS_FILES
    ${KV730_RES_DIR}/translate/en_US.ts
    ${KV730_RES_DIR}/translate/ja_JP.ts
    ${KV730_RES_DIR}/translate/zh_TW.ts
)
set_source_files_properties(${KV730_TS_FILES} PROPERTIES OUTPUT_LOCATION ${KV730_RES_BIN}/translate)
qt5_add_translation(KV730_QM_FILES ${KV730_TS_FILES})
set(KV730_TRANSLATIONS_QRC ${KV730_RES_BIN}/translations.qrc)
file(WRITE ${KV730_TRANSLATIONS_QRC}.in "<RCC>\n  <qresource prefix=\"/translate\">\n")
foreach(qm ${KV730_QM_FILES})
    get_filename_component(qmname ${qm} NAME)
    file(APPEND ${KV730_TRANSLATIONS_QRC}.in "    <file alias=\"${qmname}\">${qm}</file>\n")
endforeach()
file(APPEND ${KV730_TRANSLATIONS_QRC}.in "  </qresource>\n</RCC>\n")
configure_file(${KV730_TRANSLATIONS_QRC}.in ${KV730_TRANSLATIONS_QRC} COPYONLY)
set_source_files_properties(${KV730_TRANSLATIONS_QRC} PROPERTIES OBJECT_DEPENDS "${KV730_QM_FILES}")
target_sources(kv730ui PRIVATE ${KV730_TRANSLATIONS_QRC} ${KV730_QM_FILES})

# Map page with the Leaflet map library. Leaflet is taken from the system's libjs-leaflet
# package and copied into the build tree, so the page never loads a script from the network.
set(KV730_LEAFLET_DIR /usr/share/javascript/leaflet CACHE PATH "Directory holding leaflet.js, leaflet.css and images/")
set(KV730_LEAFLET_FILES
    leaflet.js leaflet.css
    images/marker-icon.png images/marker-icon-2x.png images/marker-shadow.png
    images/layers.png images/layers-2x.png
)
set(KV730_MAP_QRC ${KV730_RES_BIN}/map.qrc)
file(WRITE ${KV730_MAP_QRC}.in "<RCC>\n  <qresource prefix=\"/\">\n")
file(APPEND ${KV730_MAP_QRC}.in "    <file alias=\"map.html\">${KV730_RES_DIR}/map.html</file>\n")
foreach(f ${KV730_LEAFLET_FILES})
    if(NOT EXISTS ${KV730_LEAFLET_DIR}/${f})
        message(FATAL_ERROR "${KV730_LEAFLET_DIR}/${f} not found: install libjs-leaflet (scripts/install-deps.sh) or set KV730_LEAFLET_DIR")
    endif()
    configure_file(${KV730_LEAFLET_DIR}/${f} ${KV730_RES_BIN}/leaflet/${f} COPYONLY)
    file(APPEND ${KV730_MAP_QRC}.in "    <file alias=\"leaflet/${f}\">${KV730_RES_BIN}/leaflet/${f}</file>\n")
endforeach()
file(APPEND ${KV730_MAP_QRC}.in "  </qresource>\n</RCC>\n")
configure_file(${KV730_MAP_QRC}.in ${KV730_MAP_QRC} COPYONLY)
target_sources(kv730ui PRIVATE ${KV730_MAP_QRC})
