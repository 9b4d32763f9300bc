# Writes the site's service worker (SITE/starvane-sw.js, from TEMPLATE) for the files the site
# folder holds: each file's SHA-256, and the site's version, a digest of those, which names the
# cache the worker keeps them in. A build that changes any byte of the site gets a new version,
# and so a worker of new bytes that the browser installs beside the old one.
#   cmake -DSITE=folder -DTEMPLATE=starvane-sw.js.in -P write-service-worker.cmake
set(worker starvane-sw.js)
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(SORT names)
set(listed "")
set(entries "")
foreach(name ${names})
  if(name STREQUAL worker OR IS_DIRECTORY ${SITE}/${name})
    continue()
  endif()
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND listed "${name} ${digest}\n")
  string(APPEND entries "\n  ['${name}', '${digest}'],")
endforeach()
string(SHA256 whole "${listed}")
string(SUBSTRING ${whole} 0 16 SITE_VERSION)
set(SITE_FILES "${entries}\n")
configure_file(${TEMPLATE} ${SITE}/${worker} @ONLY)
