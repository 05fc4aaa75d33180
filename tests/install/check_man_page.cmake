# The manual page writer on a help text of every kind of line it meets: a usage line in
# Turkish, a description line starting with a dot and holding a backslash, a section heading,
# entries with and without text and one whose text goes on in a second line; and on a
# program whose --help fails, which must fail the build step and write no page.
# cmake -DSOURCE=<source dir> -DWORK=<scratch folder> -P check_man_page.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(write_program name text status)
    file(WRITE ${WORK}/${name}.in "#!/bin/sh\ncat <<'HELP'\n${text}HELP\nexit ${status}\n")
    file(COPY_FILE ${WORK}/${name}.in ${WORK}/${name})
    file(CHMOD ${WORK}/${name} PERMISSIONS OWNER_READ OWNER_EXECUTE)
endfunction()

function(write_page program out result)
    execute_process(COMMAND ${CMAKE_COMMAND} -DPROGRAM=${WORK}/${program} -DOUT=${WORK}/${out}
                            -DNAME=orvena -DVERSION=9.8 "-DSUMMARY=a 26-string zither"
                            -P ${SOURCE}/cmake/ManPage.cmake
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    set(${result} ${status} PARENT_SCOPE)
endfunction()

write_program(help [=[
Kullanım: orvena [seçenekler]
ORVENA: 26 telli mandallı çalgı.
.dotted, C:\yol and a-dash.

Seçenekler:
  -h, --help                 Yardım.
  --render <FILE OUT.wav>    Render one file
                             into another.
  --quiet                    
]=] 0)
write_page(help orvena.1 status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the page was not written (${status})")
endif()
file(READ ${WORK}/orvena.1 page)
set(expected [=[
.TH ORVENA 1 "" "orvena 9.8" "User Commands"
.SH NAME
orvena \- a 26\-string zither
.SH SYNOPSIS
orvena [seçenekler]
.SH DESCRIPTION
ORVENA: 26 telli mandallı çalgı.
\&.dotted, C:\eyol and a\-dash.
.SH "Seçenekler"
.TP
.B \-h, \-\-help
Yardım.
.TP
.B \-\-render <FILE OUT.wav>
Render one file
into another.
.TP
.B \-\-quiet
]=])
if(NOT page STREQUAL expected)
    message(FATAL_ERROR "the page reads:\n${page}\nexpected:\n${expected}")
endif()

write_program(broken "orvena: cannot start\n" 1)
write_page(broken broken.1 status)
if(status EQUAL 0 OR EXISTS ${WORK}/broken.1)
    message(FATAL_ERROR "a failing --help made a page (status ${status})")
endif()
