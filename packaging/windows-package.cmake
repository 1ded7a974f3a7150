# Makes the Windows package from the two release builds (target windows_package):
#
#   OUTPUT_DIR/dialkit-VERSION-windows.zip         the package
#   OUTPUT_DIR/dialkit-VERSION-windows.zip.sha256  its checksum, as sha256sum writes it
#
# with everything in one folder dialkit-VERSION-windows/: x86/ and x64/ with dialkit.exe and
# dialkit-check.exe, README.txt, LICENSE.txt, CHANGELOG.md, the references of the entry
# description file, of dialkit-check, of the run report (with its JSON Schema) and of the secrets
# file in docs/, the entry description files of examples/, and
# SHA256SUMS of all of them. Text files have Windows line ends. There is no stand-in service:
# on Windows the system's own is used.
#
# The same commit gives the same bytes: the programs are built reproducibly
# (cmake/Libraries.cmake), the entries are stored in sorted order (C locale), every file with the
# time of the commit (SOURCE_DATE_EPOCH when set, else the commit's `git log` time) read as UTC,
# with the same permissions and without the extra fields that carry owners and other times
# (`zip -X`), and without folder entries (`zip -D`).
#
#   cmake -DVERSION=... -DSOURCE_DIR=... -DX86_PROGRAMS=... -DX64_PROGRAMS=...
#         -DSTAGE_DIR=... -DOUTPUT_DIR=... -P windows-package.cmake
cmake_minimum_required(VERSION 3.25)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "No commit to date the package by: set SOURCE_DATE_EPOCH (seconds since 1970)")
endif()
find_program(ZIP zip REQUIRED)

set(name dialkit-${VERSION}-windows)
set(root ${STAGE_DIR}/${name})
set(package ${OUTPUT_DIR}/${name}.zip)
file(REMOVE_RECURSE ${STAGE_DIR})
file(REMOVE ${package} ${package}.sha256)
file(MAKE_DIRECTORY ${OUTPUT_DIR})

foreach(architecture x86 x64)
  string(TOUPPER ${architecture} programs)
  file(MAKE_DIRECTORY ${root}/${architecture})
  foreach(program dialkit.exe dialkit-check.exe)
    file(COPY_FILE ${${programs}_PROGRAMS}/${program} ${root}/${architecture}/${program})
  endforeach()
endforeach()

# A text file of the source tree with Windows line ends, which every Windows editor shows; a line
# that already ends so keeps its one carriage return.
function(copy_text from to)
  file(READ ${SOURCE_DIR}/${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${root}/${to} "${text}")
endfunction()
configure_file(${SOURCE_DIR}/packaging/README.txt.in ${root}/README.txt @ONLY NEWLINE_STYLE CRLF)
copy_text(LICENSE LICENSE.txt)
copy_text(CHANGELOG.md CHANGELOG.md)
foreach(document entry-description-file.md dialkit-check.md run-report.md run-report.schema.json
                 secrets-file.md)
  copy_text(docs/${document} docs/${document})
endforeach()
file(GLOB examples RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/examples/*.ini)
foreach(example ${examples})
  copy_text(${example} ${example})
endforeach()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT files)
set(sums "")
foreach(file ${files})
  file(SHA256 ${root}/${file} sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${root}/SHA256SUMS "${sums}")
list(APPEND files SHA256SUMS)
list(SORT files)

list(TRANSFORM files PREPEND ${name}/)
list(TRANSFORM files PREPEND ${STAGE_DIR}/ OUTPUT_VARIABLE paths)
file(CHMOD ${paths} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND touch -d @${epoch} ${paths} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -X -D -q ${package} ${files}
                WORKING_DIRECTORY ${STAGE_DIR} COMMAND_ERROR_IS_FATAL ANY)

file(SHA256 ${package} sum)
file(WRITE ${package}.sha256 "${sum}  ${name}.zip\n")
message(STATUS "${package}")
