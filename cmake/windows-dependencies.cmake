# Dependencies of the Windows build. Debian ships no Windows binaries of them:
# pugixml is compiled from Debian's source package (scripts/install-deps.sh
# --windows fetches it into .deps/pugixml), and the header-only nlohmann-json
# and CLI11 are taken from the build machine's Debian packages. Their headers
# are copied into the build tree so the cross compiler never sees the build
# machine's /usr/include (whose C library headers are not Windows').
set(KVSWX_PUGIXML_SOURCE_DIR "${PROJECT_SOURCE_DIR}/.deps/pugixml"
    CACHE PATH "Unpacked pugixml source (Debian source package)")
set(KVSWX_HOST_INCLUDE_DIR "/usr/include" CACHE PATH "Where the header-only libraries are installed")

if(NOT EXISTS "${KVSWX_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  message(FATAL_ERROR "pugixml source not found in ${KVSWX_PUGIXML_SOURCE_DIR}: run scripts/install-deps.sh --windows")
endif()
add_library(kvswx_pugixml STATIC "${KVSWX_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
target_include_directories(kvswx_pugixml SYSTEM PUBLIC "${KVSWX_PUGIXML_SOURCE_DIR}/src")
add_library(pugixml::pugixml ALIAS kvswx_pugixml)

set(_kvswx_headers "${PROJECT_BINARY_DIR}/header-only")
foreach(_dir nlohmann CLI)
  if(NOT EXISTS "${KVSWX_HOST_INCLUDE_DIR}/${_dir}")
    message(FATAL_ERROR "${KVSWX_HOST_INCLUDE_DIR}/${_dir} not found: run scripts/install-deps.sh")
  endif()
  file(COPY "${KVSWX_HOST_INCLUDE_DIR}/${_dir}" DESTINATION "${_kvswx_headers}")
endforeach()
add_library(kvswx_nlohmann_json INTERFACE)
target_include_directories(kvswx_nlohmann_json SYSTEM INTERFACE "${_kvswx_headers}")
add_library(nlohmann_json::nlohmann_json ALIAS kvswx_nlohmann_json)
add_library(kvswx_cli11 INTERFACE)
target_include_directories(kvswx_cli11 SYSTEM INTERFACE "${_kvswx_headers}")
add_library(CLI11::CLI11 ALIAS kvswx_cli11)
