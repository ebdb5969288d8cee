# Included by app/CMakeLists.txt, so that the .qm files are made and embedded
# (under :/i18n) in the directory of the targets that carry them. To add a
# language, see the README.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(QM_TRANSLATED_LANGUAGES de es fr it pt_BR)
set(QM_TS_FILES "")
foreach(language IN LISTS QM_TRANSLATED_LANGUAGES)
  list(APPEND QM_TS_FILES ${CMAKE_CURRENT_LIST_DIR}/quavermill_${language}.ts)
endforeach()
file(GLOB QM_TRANSLATED_SOURCES ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
     ${PROJECT_SOURCE_DIR}/ui/*.cpp ${PROJECT_SOURCE_DIR}/ui/*.h)

# `cmake --build build --target update_translations` brings every .ts file
# up to date with the sources.
qt_add_translations(quavermill_gui TS_FILES ${QM_TS_FILES} SOURCES ${QM_TRANSLATED_SOURCES}
                    LUPDATE_OPTIONS -no-obsolete -locations none)
# English is the source texts' language: its file holds only the plural
# forms ("1 file failed", not "1 file(s) failed"), which lupdate keeps with
# -pluralonly; it is embedded beside the others.
set(QM_PLURALS_TS ${CMAKE_CURRENT_LIST_DIR}/quavermill_en.ts)
set(QM_PLURALS_QM ${CMAKE_CURRENT_BINARY_DIR}/quavermill_en.qm)
qt_add_lupdate(quavermill TS_FILES ${QM_PLURALS_TS} SOURCES ${QM_TRANSLATED_SOURCES}
               OPTIONS -pluralonly -no-obsolete -locations none)
add_custom_command(OUTPUT ${QM_PLURALS_QM}
                   COMMAND Qt6::lrelease ${QM_PLURALS_TS} -qm ${QM_PLURALS_QM}
                   DEPENDS ${QM_PLURALS_TS} Qt6::lrelease VERBATIM)
qt_add_resources(quavermill_gui quavermill_plurals PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}
                 FILES ${QM_PLURALS_QM})
