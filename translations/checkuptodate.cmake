# Runs lupdate over the sources into a copy of the .ts file: every text the
# sources mark for translation must already be in the file, translated, and
# none may be left over. (A text marked and never brought into the file would
# show in Japanese to an English user.) Called by the test with LUPDATE,
# TS_FILE, COPY and SOURCES (a list).
file(READ ${TS_FILE} original)
file(WRITE ${COPY} "${original}")
execute_process(
    COMMAND ${LUPDATE} -no-obsolete -locations none -source-language ja -target-language en
            ${SOURCES} -ts ${COPY}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(READ ${COPY} updated)
string(REGEX MATCHALL "<message>" before "${original}")
string(REGEX MATCHALL "<message>" after "${updated}")
list(LENGTH before before)
list(LENGTH after after)
string(FIND "${updated}" "type=\"unfinished\"" unfinished)
if(NOT before EQUAL after OR NOT unfinished EQUAL -1)
    message(FATAL_ERROR
        "translations/quor_en.ts is behind the sources (texts marked in them are new, "
        "changed or gone: ${before} in the file, ${after} marked): run `make translations` "
        "and translate the new entries.\n${output}")
endif()
message(STATUS "${after} texts, all in the file")
