# Installs the build into a scratch root, checks the files a package would hold, then starts
# the installed program once with the shipped folder read-only: the first start must copy it
# to the user's data folder and work from there.
# cmake -DBUILD=<build dir> -DROOT=<scratch root> -P check_install.cmake
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed: ${status}")
endif()

set(share ${ROOT}/usr/share)
foreach(f ${ROOT}/usr/bin/orvena ${share}/applications/orvena.desktop
          ${share}/icons/hicolor/256x256/apps/orvena.png ${share}/orvena/dizek.xls
          ${share}/orvena/00-ref.wav ${share}/orvena/26-A2.wav ${share}/orvena/Rast.mkm
          ${share}/orvena/rast.ses ${share}/orvena/akort/53-EDO.scl ${share}/man/man1/orvena.1.gz
          ${share}/doc/orvena/copyright ${share}/doc/orvena/changelog.gz)
    if(NOT EXISTS ${f})
        message(FATAL_ERROR "missing: ${f}")
    endif()
endforeach()
# The menu entry speaks of the program in its own words, never by a traditional instrument's.
file(READ ${share}/applications/orvena.desktop entry)
if(NOT entry MATCHES "\nGenericName\\[tr\\]=26 telli mandallı çalgı\n" OR entry MATCHES "[Kk]anun")
    message(FATAL_ERROR "the menu entry names the program otherwise:\n${entry}")
endif()
# First start with the shipped folder read-only.
set(data_home ${ROOT}/home/.local/share)
set(out ${ROOT}/scala)
file(MAKE_DIRECTORY ${out})
execute_process(COMMAND chmod -R a-w ${share}/orvena)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${data_home} HOME=${ROOT}/home
                        ${ROOT}/usr/bin/orvena --export-scala ${out} --makam Hicaz
                RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
execute_process(COMMAND chmod -R u+w ${share}/orvena)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "first start failed (${status}): ${err}")
endif()
foreach(f ${data_home}/ORVENA/dizek.xls ${data_home}/ORVENA/26-A2.wav
          ${data_home}/ORVENA/Hicaz.mkm ${data_home}/ORVENA/akort/24-AEU.scl ${out}/Hicaz.kbm)
    if(NOT EXISTS ${f})
        message(FATAL_ERROR "the first start did not make ${f}")
    endif()
endforeach()
