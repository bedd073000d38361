# Install locations (GNU layout). The documentation folder is named after the package, as
# Debian and the comparer's Help expect: share/doc/kelvor.
set(CMAKE_INSTALL_DOCDIR "share/doc/kelvor" CACHE PATH "Documentation (DOCDIR)")
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
