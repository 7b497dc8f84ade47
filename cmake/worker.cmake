# Writes the page's service worker, its cache named by the version and by what it keeps:
#   cmake -DSOURCE=service-worker.js -DDIR=build -DFILES=tensort.js|... -DVERSION=1.0 -P worker.cmake
# A hash of the files (their names and contents), so that a page published again, at the same
# version too, fills a new cache, and an app installed from it takes the new files.
string(REPLACE "|" ";" TENSORT_CACHED "${FILES}")
set(sums "")
foreach(file IN LISTS TENSORT_CACHED)
  file(SHA256 ${DIR}/${file} sum)
  string(APPEND sums "${file} ${sum}\n")
endforeach()
string(SHA256 hash "${sums}")
string(SUBSTRING ${hash} 0 16 hash)
set(TENSORT_CACHE tensort-${VERSION}-${hash})
configure_file(${SOURCE} ${DIR}/service-worker.js @ONLY)
