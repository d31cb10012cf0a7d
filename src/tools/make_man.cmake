# Writes the manual page kinemo.1 (and kinemo.1.gz) from what `kinemo --help` and `--version`
# print, so that it lists the options and actions of the tables that parse
# them. Usage: cmake -DKINEMO=path/to/kinemo -DOUTPUT=kinemo.1 -P make_man.cmake
execute_process(COMMAND ${KINEMO} --help OUTPUT_VARIABLE help RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${KINEMO} --help failed: ${failed}")
endif()
execute_process(COMMAND ${KINEMO} --version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)

# Text as roff reads it: backslashes and hyphens literal, no line taken for a
# request.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(page ".TH KINEMO 1 \"\" \"${version}\" \"User Commands\"\n.SH NAME\n")
set(synopsis "")
set(summary "")
set(body "")
set(listed FALSE) # the last line was an entry of a list
foreach(line IN LISTS lines)
  if(line MATCHES "^(Usage: |       )kinemo (.*)$")
    roff(text "kinemo ${CMAKE_MATCH_2}")
    string(APPEND synopsis "${text}\n")
  elseif(summary STREQUAL "" AND NOT line STREQUAL "")
    string(REGEX REPLACE "\\.$" "" summary "${line}")
  elseif(line MATCHES "^([A-Z][^:]*):$")
    # "Options:", "Actions of --do:": a section of their own.
    string(TOUPPER "${CMAKE_MATCH_1}" title)
    roff(title "${title}")
    string(APPEND body ".SH ${title}\n")
  elseif(line MATCHES "^([a-z][^:]*):$")
    roff(title "${CMAKE_MATCH_1}")
    string(APPEND body ".SS ${title}\n")
  elseif(line MATCHES "^  ([^ ].*[^ ])   *([^ ].*)$")
    # An option or an action and what it does.
    roff(term "${CMAKE_MATCH_1}")
    roff(text "${CMAKE_MATCH_2}")
    string(APPEND body ".TP\n\\fB${term}\\fR\n${text}\n")
    set(listed TRUE)
  elseif(line STREQUAL "")
    string(APPEND body ".PP\n")
    set(listed FALSE)
  else()
    # Running text; a line that starts with a label ("named keys: ...") on a
    # line of its own.
    roff(text "${line}")
    if(listed)
      string(APPEND body ".PP\n")
    elseif(line MATCHES "^[A-Za-z][A-Za-z ]*: ")
      string(APPEND body ".br\n")
    endif()
    string(APPEND body "${text}\n")
    set(listed FALSE)
  endif()
endforeach()
string(REGEX REPLACE "^[Aa]n? " "" summary "${summary}")
roff(summary "${summary}")
string(APPEND page "kinemo \\- ${summary}\n.SH SYNOPSIS\n.nf\n${synopsis}.fi\n")
string(APPEND page ".SH DESCRIPTION\nWithout \\fB\\-\\-headless\\fR, Kinemo opens its window, whose "
                   "help page (the ? menu) gives the keys, the devices and their parameters.\n")
string(APPEND page "${body}")
string(REGEX REPLACE "\n(\\.PP\n)+(\\.SH|$)" "\n\\2" page "${page}")
file(WRITE ${OUTPUT} "${page}")
# Installed compressed, as Debian keeps manual pages.
file(ARCHIVE_CREATE OUTPUT ${OUTPUT}.gz PATHS ${OUTPUT} FORMAT raw COMPRESSION GZip)
