# The release package <build>/QiMing-<version>-win32.zip: the program, its
# help file, a readme and an empty Ghost folder with a note on the three DOS
# programs that go in it, all under one top folder. scripts/release-pack.sh
# makes it; the same sources give the same bytes (see cmake/FixedClock.cmake
# for the help file's time stamp, the link options for the program's).
#
# The programs go in stripped (<build>/stripped/): the linked ones in bin/
# keep their symbols for the tests, benchmarks and debuggers, which would
# otherwise make up over 40 % of each program (3.8 MB stripped to 2.2).
#
# Part of the default build, so the tests and CI always make it; on its own:
#   cmake --build <build> --target release

set(QM_RELEASE_ZIP ${CMAKE_BINARY_DIR}/QiMing-${PROJECT_VERSION}-win32.zip)
set(QM_RELEASE_PACK ${PROJECT_SOURCE_DIR}/scripts/release-pack.sh)
set(QM_RELEASE_README ${PROJECT_SOURCE_DIR}/docs/release/ReadMe.txt)
set(QM_RELEASE_GHOST_README ${PROJECT_SOURCE_DIR}/docs/release/Ghost-ReadMe.txt)
set(QM_RELEASE_CHM ${CMAKE_BINARY_DIR}/bin/PartKit.chm)

set(QM_RELEASE_STRIPPED ${CMAKE_BINARY_DIR}/stripped)
foreach(program qiming skinview)
  add_custom_command(
    OUTPUT ${QM_RELEASE_STRIPPED}/${program}.exe
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_RELEASE_STRIPPED}
    # strip stamps the time it ran into the PE header unless given one:
    # 0, as the linker leaves it, so that the same sources give the same zip.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_STRIP} --strip-all -o ${QM_RELEASE_STRIPPED}/${program}.exe $<TARGET_FILE:${program}>
    DEPENDS ${program}
    COMMENT "Stripping ${program}.exe for the release"
    VERBATIM)
endforeach()

find_program(QM_BASH bash)
find_program(QM_ZIP zip)
find_program(QM_ICONV iconv)
if(QM_BASH AND QM_ZIP AND QM_ICONV)
  add_custom_command(
    OUTPUT ${QM_RELEASE_ZIP}
    COMMAND ${QM_BASH} ${QM_RELEASE_PACK}
            --out ${QM_RELEASE_ZIP} --version ${PROJECT_VERSION} --time ${QM_BUILD_TIME}
            --exe ${QM_RELEASE_STRIPPED}/qiming.exe --chm ${QM_RELEASE_CHM}
            --skinview ${QM_RELEASE_STRIPPED}/skinview.exe --skin ${CMAKE_BINARY_DIR}/bin/default.skn
            --readme ${QM_RELEASE_README} --ghost-readme ${QM_RELEASE_GHOST_README}
    DEPENDS ${QM_RELEASE_STRIPPED}/qiming.exe ${QM_RELEASE_STRIPPED}/skinview.exe
            qm_default_skin ${QM_RELEASE_CHM} ${QM_RELEASE_PACK}
            ${QM_RELEASE_README} ${QM_RELEASE_GHOST_README}
    COMMENT "Packing QiMing-${PROJECT_VERSION}-win32.zip"
    VERBATIM)
  add_custom_target(release ALL DEPENDS ${QM_RELEASE_ZIP})
  add_dependencies(release qm_help)
else()
  message(WARNING "bash, zip or iconv not found: the release package cannot be made. "
                  "Install them (scripts/install-deps.sh).")
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND} -E echo "The release package needs bash, zip and iconv (scripts/install-deps.sh)."
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
