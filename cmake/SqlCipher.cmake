# SQLCipher, linked statically. QtWebEngine loads the system libsqlite3, which
# exports the same unversioned sqlite3_* names; executables are therefore
# linked with --exclude-libs for it so none of ours is ever exported. Only
# for it: a sanitizer runtime linked statically (clang's) must keep its
# malloc and operator new exported, or the shared libraries bypass them.
find_path(SQLCIPHER_INCLUDE_DIR sqlite3.h PATH_SUFFIXES sqlcipher REQUIRED
          PATHS /usr/include/sqlcipher NO_DEFAULT_PATH)
find_library(SQLCIPHER_STATIC_LIBRARY NAMES libsqlcipher.a REQUIRED)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
find_package(Threads REQUIRED)

add_library(sqlcipher_static INTERFACE)
target_include_directories(sqlcipher_static SYSTEM INTERFACE ${SQLCIPHER_INCLUDE_DIR})
target_compile_definitions(sqlcipher_static INTERFACE SQLITE_HAS_CODEC)
target_link_libraries(sqlcipher_static INTERFACE
    ${SQLCIPHER_STATIC_LIBRARY} OpenSSL::Crypto Threads::Threads ${CMAKE_DL_LIBS})
target_link_options(sqlcipher_static INTERFACE "LINKER:--exclude-libs,libsqlcipher.a")
