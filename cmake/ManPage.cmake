# Writes the manual page from the program's own --help, so the two never disagree.
# cmake -DPROGRAM=<program> -DOUT=<page.1> -DNAME=<name> -DSUMMARY=<one line>
#       -DVERSION=<version> -P ManPage.cmake
#
# The help text reads: a usage line ("<word>: <synopsis>"), description lines up to a blank
# line, then sections: a heading line ending in ":", and entries "  -x, --long <value>  text"
# whose text may go on in more deeply indented lines.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help failed (${status}): ${errors}")
endif()

# Text for roff: backslashes escaped, dashes as minus signs, and no line starting with a
# control character.
function(roff_text text out)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" title)
roff_text("${SUMMARY}" summary)
set(page ".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${summary}\n")

string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(part usage)
foreach(line IN LISTS lines)
    if(part STREQUAL "usage")
        string(REGEX REPLACE "^[^:]*: *" "" synopsis "${line}")
        roff_text("${synopsis}" synopsis)
        string(APPEND page ".SH SYNOPSIS\n${synopsis}\n.SH DESCRIPTION\n")
        set(part description)
    elseif(line STREQUAL "")
        set(part sections)
    elseif(part STREQUAL "description")
        roff_text("${line}" text)
        string(APPEND page "${text}\n")
    elseif(line MATCHES "^[^ ].*:$")
        string(REGEX REPLACE ":$" "" heading "${line}")
        roff_text("${heading}" heading)
        string(APPEND page ".SH \"${heading}\"\n")
    elseif(line MATCHES "^  +(-[^ ]+( [^ ]+)*)(  +(.*))?$")
        roff_text("${CMAKE_MATCH_1}" term)
        string(STRIP "${CMAKE_MATCH_4}" text)
        roff_text("${text}" text)
        string(APPEND page ".TP\n.B ${term}\n")
        if(NOT text STREQUAL "")
            string(APPEND page "${text}\n")
        endif()
    else()
        string(STRIP "${line}" line)
        roff_text("${line}" text)
        string(APPEND page "${text}\n")
    endif()
endforeach()
file(WRITE ${OUT} "${page}")
