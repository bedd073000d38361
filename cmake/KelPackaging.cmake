# The programs' install rules and the Debian package (`make package`, CPack). The package's
# dependencies come from dpkg-shlibdeps; its changelog and copyright are made here, where
# Debian wants them: share/doc/kelvor.

install(TARGETS kelvor kelrun kelvor-schema RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KEL_PACKAGE_VERSION 3.7)
set(KEL_PACKAGE_REVISION 1)
set(KEL_MAINTAINER "The Kelvor developers <kelvor@kelvor.org>")

find_program(KEL_GZIP gzip)
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.Debian)
configure_file(${PROJECT_SOURCE_DIR}/data/packaging/changelog.Debian.in ${changelog} @ONLY)
add_custom_command(
  OUTPUT ${changelog}.gz
  COMMAND ${KEL_GZIP} -9 -n -k -f ${changelog}
  DEPENDS ${changelog}
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz ${PROJECT_SOURCE_DIR}/data/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvor)
set(CPACK_PACKAGE_VERSION ${KEL_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kelvor developers")
set(CPACK_PACKAGE_CONTACT ${KEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "schema comparer and script runner for Access databases")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kelvor reads the structure of two Microsoft Access databases (.mdb, .accdb),
lists what was added, deleted or changed, shows line diffs and writes the
script that gives the first database the structure of the second. Kelrun runs
such a script against a database. kelvor-schema prints a database's structure
as statements, for git diff and CI.")
set(CPACK_DEBIAN_PACKAGE_VERSION ${KEL_PACKAGE_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KEL_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KEL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows need a Qt platform plugin; meld is the default external diff tool.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "meld")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
include(CPack)
