# Runs lupdate over the sources into a copy of the translation and fails when a text of the
# sources has no translation yet, or the translation holds a text the sources no longer have.
#   cmake -DLUPDATE=... -DTS_FILE=... -DSOURCE_DIRS=a,b -DOPTIONS=x,y -DWORK_DIR=... -P this
string(REPLACE "," ";" source_dirs "${SOURCE_DIRS}")
string(REPLACE "," ";" options "${OPTIONS}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(name "${TS_FILE}" NAME)
set(copy "${WORK_DIR}/${name}")
configure_file("${TS_FILE}" "${copy}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" ${options} ${source_dirs} -ts "${copy}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${result}):\n${output}")
endif()

file(READ "${copy}" ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"(unfinished|vanished|obsolete)\""
       problems "${ts}")
list(LENGTH problems count)
if(count GREATER 0)
    string(REPLACE ";" "\n" listing "${problems}")
    message(FATAL_ERROR "${count} text(s) of ${TS_FILE} are untranslated or no longer in the "
                        "sources; run scripts/wrap_translations.py, then `cmake --build build "
                        "--target update_translations`, and translate what is unfinished:\n"
                        "${listing}")
endif()
message(STATUS "every text of the sources has its translation")
