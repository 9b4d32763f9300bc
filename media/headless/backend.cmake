# The backend without a screen needs no library on the desktop. Built with emscripten (the
# `node` preset) it is the browser's WebAssembly core run by node instead of a page:
# build-node/starvane-node, a small launcher, runs starvane-node.js beside it, one file with the
# WebAssembly inside, and takes the desktop program's command line.
if(NOT EMSCRIPTEN)
  return()
endif()
# NODERAWFS gives the game the host's files and folders through node, so --files, --input and
# --dump name real paths as on the desktop. The runtime exits with main's status, which node
# passes on as the process's own.
set_target_properties(starvane PROPERTIES OUTPUT_NAME starvane-node SUFFIX ".js")
target_link_options(starvane PRIVATE
  -sNODERAWFS=1
  -sSINGLE_FILE=1
  -sENVIRONMENT=node
  -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=1
  --pre-js ${CMAKE_CURRENT_SOURCE_DIR}/media/headless/node-host.js)
set_property(TARGET starvane APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/media/headless/node-host.js)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/media/headless/starvane-node.sh
  ${CMAKE_CURRENT_BINARY_DIR}/starvane-node COPYONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
    WORLD_EXECUTE)
# Debian's emscripten finds its JavaScript optimiser's modules among the system's node modules
# only; a newer node installed beside it would look elsewhere.
if(EXISTS /usr/share/nodejs)
  set_property(TARGET starvane PROPERTY RULE_LAUNCH_LINK
    "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs")
endif()
