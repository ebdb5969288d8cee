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
# forms ("1 file failed", not "1 file(s) failed"), and only the program needs it.
qt_add_translations(quavermill TS_FILES ${CMAKE_CURRENT_LIST_DIR}/quavermill_en.ts
                    SOURCES ${QM_TRANSLATED_SOURCES} LUPDATE_OPTIONS -pluralonly -no-obsolete -locations none)
