# Finishes the page's folder after each link: names the offline cache after the
# version and the contents of the files it keeps, so that a new build's files
# replace the old ones in every browser that played it.
#
#   cmake -DSITE=folder -DVERSION=x.y -DTEMPLATE=sw.js -P web_site.cmake

set(contents "")
foreach(name index.html kordavan.js kordavan.pack.gz manifest.webmanifest icon-192.png icon-512.png)
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND contents "${hash}")
endforeach()
string(SHA256 hash "${contents}")
string(SUBSTRING "${hash}" 0 12 hash)
set(KORDAVAN_CACHE "kordavan-${VERSION}-${hash}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
