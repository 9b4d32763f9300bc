# The browser's backend (STARVANE_BACKEND=web, the `web` preset): starvane.js and starvane.wasm
# with the page beside them, in build-web/site, a folder of static files any web server can serve.
#
# The game's loops block as on the desktop; -sASYNCIFY lets a sleep inside them (the frame
# pacer's, media/web/web_screen.cpp) unwind to the browser's event loop and rewind afterwards.
# The files directory is an IndexedDB file system (IDBFS) that the page mounts and reads before
# the game starts, and writes back after each frame in which it changed.
set(site ${CMAKE_CURRENT_BINARY_DIR}/site)
set_target_properties(starvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${site} SUFFIX ".js")
target_link_options(starvane PRIVATE
  -sASYNCIFY
  -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  -sEXPORTED_FUNCTIONS=_main,_malloc
  -sEXPORTED_RUNTIME_METHODS=ccall,FS,stringToUTF8,lengthBytesUTF8
  -lidbfs.js)
set(page_files index.html starvane-page.js starvane-page.css starvane-touch.js
  starvane-touch.css starvane-offline.js starvane.webmanifest starvane-icon.svg)
foreach(file ${page_files})
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/media/web/page/${file} ${site}/${file} COPYONLY)
endforeach()
# The service worker that keeps the site for offline play names its cache after a digest of
# every file of the site, written once they are all there: after each link of the game, which
# a change of a page file, of the worker or of its writer brings about too.
set(worker_writer ${CMAKE_CURRENT_SOURCE_DIR}/media/web/write-service-worker.cmake)
set(worker_template ${CMAKE_CURRENT_SOURCE_DIR}/media/web/page/starvane-sw.js.in)
list(TRANSFORM page_files PREPEND ${site}/ OUTPUT_VARIABLE site_page_files)
set_property(TARGET starvane APPEND PROPERTY LINK_DEPENDS
  ${site_page_files} ${worker_writer} ${worker_template})
add_custom_command(TARGET starvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DTEMPLATE=${worker_template} -P ${worker_writer}
  VERBATIM)
# Debian's emscripten finds its JavaScript optimiser's modules among the system's node modules
# only; a newer node installed beside it would look elsewhere.
if(EXISTS /usr/share/nodejs)
  set_property(TARGET starvane PROPERTY RULE_LAUNCH_LINK
    "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs")
endif()
