# Finishes the page's folder after each link: writes into the page and the
# service worker the hash of kordavan.js and of kordavan.pack.gz, by which the
# page asks for them (kordavan.js?v=HASH), and names the offline cache after
# the version and the contents of every file it keeps, so that a new build's
# files replace the old ones in every browser that played it.
#
#   cmake -DSITE=folder -DVERSION=x.y -DPAGE=index.html.in -DTEMPLATE=sw.js -P web_site.cmake

function(short_hash file variable)
    file(SHA256 ${file} hash)
    string(SUBSTRING "${hash}" 0 16 hash)
    set(${variable} "${hash}" PARENT_SCOPE)
endfunction()

short_hash(${SITE}/kordavan.js KORDAVAN_JS_HASH)
short_hash(${SITE}/kordavan.pack.gz KORDAVAN_PACK_HASH)
configure_file(${PAGE} ${SITE}/index.html @ONLY)

set(contents "")
foreach(name index.html kordavan.js kordavan.pack.gz manifest.webmanifest icon-192.png icon-512.png)
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND contents "${hash}")
endforeach()
string(SHA256 hash "${contents}")
string(SUBSTRING "${hash}" 0 12 hash)
set(KORDAVAN_CACHE "kordavan-${VERSION}-${hash}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
