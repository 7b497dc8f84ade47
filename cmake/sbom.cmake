# Writes the bill of materials of a release, an SPDX 2.3 document, from its downloads:
#   cmake -DDIR=folder -DVERSION=1.0 -P sbom.cmake
# DIR holds the downloads and their SHA256SUMS; DIR/tensort-VERSION.spdx.json names each download
# of SHA256SUMS, with its SHA-256, and the parts inside it as the download's own copyright file or
# notice lists them (the program's own terms first, then the parts of others' code that
# notices.cmake found). Dated SOURCE_DATE_EPOCH where it is set, as a distribution's builder dates
# a release, it is the same for the same downloads.
cmake_minimum_required(VERSION 3.20)

# Text as a JSON string.
function(quote text var)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "<semicolon>" "\\u003b" text "${text}")
  set(${var} "\"${text}\"" PARENT_SCOPE)
endfunction()

# A package of the document, as JSON in `var`: its ID and the fields given as NAME VALUE ...
function(spdx_package var id)
  set(fields "\"SPDXID\": \"${id}\", \"downloadLocation\": \"NOASSERTION\", \"filesAnalyzed\": false")
  while(ARGN)
    list(POP_FRONT ARGN key value)
    quote("${value}" value)
    string(APPEND fields ", \"${key}\": ${value}")
  endwhile()
  set(${var} "    {${fields}}" PARENT_SCOPE)
endfunction()

file(READ ${DIR}/SHA256SUMS sums)
string(SHA256 namespace "${sums}")
string(TIMESTAMP created "%Y-%m-%dT%H:%M:%SZ" UTC)
set(packages "")
set(relationships "")
set(scratch ${DIR}/.sbom)
string(REGEX MATCHALL "[^\n]+" lines "${sums}")
set(count 0)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^([0-9a-f]+) [ *](.*)$" "\\1;\\2" line "${line}")
  list(POP_FRONT line sum download)
  math(EXPR count "${count} + 1")
  set(id SPDXRef-Download-${count})
  # The download's copyright file (a .deb's inside its data) or notice.
  file(REMOVE_RECURSE ${scratch})
  file(ARCHIVE_EXTRACT INPUT ${DIR}/${download} DESTINATION ${scratch})
  file(GLOB data ${scratch}/data.tar.*)
  if(data)
    file(ARCHIVE_EXTRACT INPUT ${data} DESTINATION ${scratch}/data)
  endif()
  file(GLOB_RECURSE notice ${scratch}/*)
  list(FILTER notice INCLUDE REGEX "/share/doc/tensort/copyright$|/NOTICES.txt$")
  if(NOT notice)
    message(FATAL_ERROR "${download} holds no copyright file or notice")
  endif()
  file(READ ${notice} notice)
  file(REMOVE_RECURSE ${scratch})
  # (A semicolon would split CMake's lists: it is put back as JSON is written.)
  string(REPLACE ";" "<semicolon>" notice "${notice}")
  # Its paragraphs: the program's own (Files: *), then each part's.
  string(REGEX REPLACE "\n\n+" ";" paragraphs "${notice}")
  set(licences "")
  set(parts "")
  set(part 0)
  foreach(paragraph IN LISTS paragraphs)
    if(NOT paragraph MATCHES "(^|\n)Files: ")
      continue()
    endif()
    foreach(field Copyright License X-Part X-Version Comment)
      string(REGEX MATCH "(^|\n)${field}: ([^\n]*(\n [^\n]*)*)" value "${paragraph}")
      string(REGEX REPLACE "\n \\.?" "\n" ${field} "${CMAKE_MATCH_2}")
    endforeach()
    string(REGEX REPLACE "\n.*" "" License "${License}")
    string(REGEX REPLACE "^Expat$" "MIT" License "${License}")
    if(NOT X-Part)
      set(X-Part tensort)
      set(X-Version ${VERSION})
      set(Comment "The program's own code")
    endif()
    math(EXPR part "${part} + 1")
    spdx_package(json ${id}-Part-${part} name "${X-Part}" versionInfo "${X-Version}" licenseConcluded NOASSERTION
                 licenseDeclared "${License}" copyrightText "${Copyright}" comment "${Comment}")
    list(APPEND parts "${json}")
    list(APPEND relationships "    {\"spdxElementId\": \"${id}\", \"relationshipType\": \"CONTAINS\", \"relatedSpdxElement\": \"${id}-Part-${part}\"}")
    list(APPEND licences "(${License})")
  endforeach()
  list(REMOVE_DUPLICATES licences)
  list(JOIN licences " AND " licences)
  spdx_package(json ${id} name ${download} packageFileName ${download} versionInfo ${VERSION}
               licenseConcluded NOASSERTION licenseDeclared "${licences}" copyrightText NOASSERTION)
  string(REPLACE "}" ", \"checksums\": [{\"algorithm\": \"SHA256\", \"checksumValue\": \"${sum}\"}]}" json "${json}")
  list(APPEND packages "${json}" ${parts})
  list(APPEND relationships "    {\"spdxElementId\": \"SPDXRef-DOCUMENT\", \"relationshipType\": \"DESCRIBES\", \"relatedSpdxElement\": \"${id}\"}")
endforeach()

string(REPLACE ";" ",\n" packages "${packages}")
string(REPLACE ";" ",\n" relationships "${relationships}")
file(WRITE ${DIR}/tensort-${VERSION}.spdx.json "{
  \"spdxVersion\": \"SPDX-2.3\",
  \"dataLicense\": \"CC0-1.0\",
  \"SPDXID\": \"SPDXRef-DOCUMENT\",
  \"name\": \"tensort-${VERSION}\",
  \"documentNamespace\": \"https://spdx.org/spdxdocs/tensort-${VERSION}-${namespace}\",
  \"creationInfo\": {\"created\": \"${created}\", \"creators\": [\"Tool: tensort's cmake/sbom.cmake\"]},
  \"packages\": [
${packages}
  ],
  \"relationships\": [
${relationships}
  ]
}
")
