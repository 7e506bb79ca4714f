# Installation (cmake --install) and the Debian package (cpack -G DEB in the build
# folder gives lumetra_VERSION_ARCH.deb): the program, the scripted driver in the
# package's library folder, the examples, the quick guide, the desktop entry, icon,
# file type and metainfo, the manual pages, and (python/CMakeLists.txt) the Python
# module with lumetra-plan.
# The package's version is the project's; scripts/package builds and checks it.

include(GNUInstallDirs)

set(lumetra_id io.lumetra.Lumetra)
set(lumetra_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(lumetra_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/lumetra)

# The program tells the packaged version: lumetra --version.
target_compile_definitions(lumetra PRIVATE LUMETRA_VERSION="${PROJECT_VERSION}")

# The release notes must name this version: a version bump without them stops here.
file(STRINGS ${lumetra_pkg}/changelog changelog_top LIMIT_COUNT 1)
file(READ ${lumetra_pkg}/${lumetra_id}.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" metainfo_release "${metainfo}")
set(metainfo_version "${CMAKE_MATCH_1}")
string(REGEX MATCH "^lumetra \\(([^)]*)\\) " changelog_release "${changelog_top}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION OR NOT metainfo_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog and the first <release> of packaging/"
                        "${lumetra_id}.metainfo.xml must be of version ${PROJECT_VERSION}")
endif()

# Debian keeps the changelog and the manual pages compressed, without a time stamp.
set(lumetra_gz ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${lumetra_gz})
foreach(source changelog man/lumetra.1 man/lumetra-plan.1)
    get_filename_component(name ${source} NAME)
    execute_process(COMMAND gzip -9 -n -c ${lumetra_pkg}/${source}
                    OUTPUT_FILE ${lumetra_gz}/${name}.gz RESULT_VARIABLE gzip_status)
    if(NOT gzip_status EQUAL 0)
        message(FATAL_ERROR "gzip ${source}: ${gzip_status}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${lumetra_pkg}/${source})
endforeach()

install(TARGETS lumetra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The driver can set any state of the window: a test harness, not a user's program,
# so it stays out of the search path (/usr/lib/lumetra/lumetra-driver).
install(TARGETS lumetra-driver RUNTIME DESTINATION lib/lumetra)
install(FILES ${lumetra_gz}/lumetra.1.gz ${lumetra_gz}/lumetra-plan.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

file(GLOB lumetra_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.txt)
install(FILES ${lumetra_examples} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumetra/examples)

install(FILES ${PROJECT_SOURCE_DIR}/README.md
        ${PROJECT_SOURCE_DIR}/src/window/qt/help/quick_guide.html ${lumetra_gz}/changelog.gz
        DESTINATION ${lumetra_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${lumetra_docdir} RENAME copyright)
# The quick guide in the system's documentation index (its paths are those of /usr).
install(FILES ${lumetra_pkg}/lumetra.doc-base DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc-base
        RENAME lumetra.lumetra-quick-guide)

# Desktop integration: the entry, its icon at every size, the setup file type and
# the metainfo for software centres. Their caches are refreshed by dpkg's triggers.
install(FILES ${lumetra_pkg}/${lumetra_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${lumetra_pkg}/${lumetra_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${lumetra_pkg}/lumetra-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME lumetra.xml)
install(FILES ${lumetra_pkg}/icons/lumetra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNG sizes are rendered from the drawing by packaging/icons/render.
file(GLOB lumetra_icons RELATIVE ${lumetra_pkg}/icons CONFIGURE_DEPENDS
     ${lumetra_pkg}/icons/*/lumetra.png)
foreach(icon ${lumetra_icons})
    get_filename_component(size ${icon} DIRECTORY)
    install(FILES ${lumetra_pkg}/icons/${icon}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumetra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lumetra developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "plan fluorescence-mode X-ray absorption measurements")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumetra predicts the pulse-height spectrum an energy-dispersive X-ray
detector records from a sample lit by a monochromatic beam: which peaks
appear, where the target line falls on the amplifier's 0 to 10 V scale, what
share of all counts it carries, and how gain, peak width, geometry, distance,
air and filters change that. A fundamental-parameter model adds count rates,
dead time and an XAFS scan preview.
.
The package holds the program, example compositions, a quick guide, the
Python 3 module lumetra (import lumetra: setups, spectra and figures as Python
values and numpy arrays), the batch planner lumetra-plan for tables of samples
and, in /usr/lib/lumetra, a scripted driver that runs its window without a
screen for tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumetra developers <lumetra@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/lumetra)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module's own needs (python/CMakeLists.txt).
if(lumetra_python_depends)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${lumetra_python_depends}")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
