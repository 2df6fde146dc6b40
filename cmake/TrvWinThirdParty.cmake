# Third-party libraries for the Windows build, none of them kept in the
# repository:
#   tinyxml  - Debian's source package (with Debian's patches), fetched once
#              through a private apt source list and compiled here;
#   boost    - the host's header-only boost through a folder that holds just
#              a "boost" link (never -I/usr/include: glibc headers would leak);
#   zlib     - libz-mingw-w64-dev, linked statically (no zlib1.dll to ship).
#
# The unpacked sources live in a cache shared by every build folder, so a
# clean build does not fetch the package index again.

if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(_trv_cache_default "$ENV{XDG_CACHE_HOME}/tarvane")
elseif(DEFINED ENV{HOME} AND NOT "$ENV{HOME}" STREQUAL "")
  set(_trv_cache_default "$ENV{HOME}/.cache/tarvane")
else()
  set(_trv_cache_default "${CMAKE_BINARY_DIR}/_deps")
endif()
set(TRV_WIN_DEPS_DIR "${_trv_cache_default}/debian-src" CACHE PATH
    "Where Debian source packages for the Windows build are fetched and unpacked")

find_program(TRV_APT_GET apt-get PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(TRV_DPKG_SOURCE dpkg-source PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

# The Debian mirror the system's own apt sources name for this release's main
# component, whichever format they are written in (sources.list, *.list,
# *.sources): apt itself lists them, without touching the network. Sets
# OUT_URI and OUT_SUITE.
function(trv_system_debian_mirror OUT_URI OUT_SUITE)
  set(codename "")
  if(EXISTS /etc/os-release)
    file(STRINGS /etc/os-release line REGEX "^VERSION_CODENAME=")
    string(REGEX REPLACE "^VERSION_CODENAME=\"?([^\"]*)\"?$" "\\1" codename "${line}")
  endif()
  if(codename STREQUAL "")
    message(FATAL_ERROR "No VERSION_CODENAME in /etc/os-release: cannot tell which Debian release to fetch from")
  endif()
  execute_process(COMMAND ${TRV_APT_GET} indextargets --no-release-info
                          --format "$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)"
    RESULT_VARIABLE rc OUTPUT_VARIABLE targets ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "apt-get indextargets failed: ${err}")
  endif()
  string(REPLACE "\n" ";" lines "${targets}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^deb(-src)? ([^ ]+) ${codename} main$")
      set(${OUT_URI} "${CMAKE_MATCH_2}" PARENT_SCOPE)
      set(${OUT_SUITE} "${codename}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "The system's apt sources (/etc/apt/sources.list, /etc/apt/sources.list.d/) name no "
                      "mirror for '${codename} main'; add one there to fetch Debian source packages. "
                      "apt lists:\n${targets}")
endfunction()

# Fetches and unpacks Debian source package PKG into ${TRV_WIN_DEPS_DIR}/PKG,
# sets OUT_DIR to the unpacked tree. Done once; the marker file records the
# finished tree, and a lock keeps parallel configures from fetching twice.
function(trv_debian_source PKG OUT_DIR)
  set(root ${TRV_WIN_DEPS_DIR})
  set(pkgdir ${root}/${PKG})
  set(marker ${pkgdir}/unpacked.txt)
  file(MAKE_DIRECTORY ${root})
  file(LOCK ${root}/fetch.lock GUARD FUNCTION TIMEOUT 600)
  if(EXISTS ${marker})
    file(READ ${marker} tree)
    string(STRIP "${tree}" tree)
    if(IS_DIRECTORY ${pkgdir}/${tree})
      set(${OUT_DIR} ${pkgdir}/${tree} PARENT_SCOPE)
      return()
    endif()
  endif()

  message(STATUS "Fetching Debian source package ${PKG} into ${pkgdir}")
  file(REMOVE_RECURSE ${pkgdir})
  set(apt ${root}/apt)
  file(MAKE_DIRECTORY ${apt}/lists/partial ${apt}/cache/archives/partial ${pkgdir}/download)
  # Only source indices, from the system's own mirror; the system's apt
  # sources and state stay untouched.
  trv_system_debian_mirror(mirror suite)
  file(WRITE ${apt}/deb-src.sources
    "Types: deb-src\n"
    "URIs: ${mirror}\n"
    "Suites: ${suite}\n"
    "Components: main\n"
    "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n")
  set(apt_opts
    -o Dir::Etc::sourcelist=${apt}/deb-src.sources
    -o Dir::Etc::sourceparts=-
    -o Dir::State::Lists=${apt}/lists
    -o Dir::Cache=${apt}/cache
    -o APT::Sandbox::User=root
    -q)
  execute_process(COMMAND ${TRV_APT_GET} ${apt_opts} update
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "apt-get update for the private source list (${mirror} ${suite} main) failed: ${err}")
  endif()
  execute_process(COMMAND ${TRV_APT_GET} ${apt_opts} source --download-only ${PKG}
    WORKING_DIRECTORY ${pkgdir}/download
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "apt-get source ${PKG} failed: ${err}")
  endif()
  file(GLOB dsc ${pkgdir}/download/${PKG}_*.dsc)
  list(LENGTH dsc n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "Expected one ${PKG} .dsc in ${pkgdir}/download, found: ${dsc}")
  endif()
  # apt has checked the files' hashes against the signed index already;
  # --no-check skips only the .dsc's own signature.
  execute_process(COMMAND ${TRV_DPKG_SOURCE} --no-check -x ${dsc} ${pkgdir}/src
    WORKING_DIRECTORY ${pkgdir}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg-source -x ${dsc} failed: ${err}")
  endif()
  file(WRITE ${marker} "src\n")
  set(${OUT_DIR} ${pkgdir}/src PARENT_SCOPE)
endfunction()

# tinyxml, STL flavour for every user.
trv_debian_source(tinyxml TRV_TINYXML_DIR)
add_library(tinyxml STATIC
  ${TRV_TINYXML_DIR}/tinyxml.cpp
  ${TRV_TINYXML_DIR}/tinyxmlerror.cpp
  ${TRV_TINYXML_DIR}/tinyxmlparser.cpp
  ${TRV_TINYXML_DIR}/tinystr.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(tinyxml SYSTEM PUBLIC ${TRV_TINYXML_DIR})
# Third-party code: its warnings are not ours to fix.
target_compile_options(tinyxml PRIVATE -w)

# boost headers.
if(NOT EXISTS /usr/include/boost/version.hpp)
  message(FATAL_ERROR "boost headers missing: install libboost-dev")
endif()
set(_trv_boost_dir ${CMAKE_BINARY_DIR}/_deps/boost-include)
file(MAKE_DIRECTORY ${_trv_boost_dir})
file(CREATE_LINK /usr/include/boost ${_trv_boost_dir}/boost SYMBOLIC)
add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${_trv_boost_dir})

# zlib, static.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# libxlsxwriter, for the spreadsheet automation server (platform/excel):
# Debian's source with its own bundled minizip, tmpfile and MD5 helpers,
# numbers written by its locale-independent shortest-form dtoa.
trv_debian_source(libxlsxwriter TRV_XLSXWRITER_DIR)
file(GLOB _trv_xlsxwriter_sources ${TRV_XLSXWRITER_DIR}/src/*.c)
add_library(xlsxwriter STATIC
  ${_trv_xlsxwriter_sources}
  ${TRV_XLSXWRITER_DIR}/third_party/minizip/ioapi.c
  ${TRV_XLSXWRITER_DIR}/third_party/minizip/zip.c
  ${TRV_XLSXWRITER_DIR}/third_party/tmpfileplus/tmpfileplus.c
  ${TRV_XLSXWRITER_DIR}/third_party/md5/md5.c
  ${TRV_XLSXWRITER_DIR}/third_party/dtoa/emyg_dtoa.c)
target_compile_definitions(xlsxwriter PRIVATE NOCRYPT NOUNCRYPT USE_FILE32API USE_DTOA_LIBRARY)
target_include_directories(xlsxwriter SYSTEM PUBLIC ${TRV_XLSXWRITER_DIR}/include)
target_link_libraries(xlsxwriter PUBLIC ZLIB::ZLIB)
target_compile_options(xlsxwriter PRIVATE -w)
