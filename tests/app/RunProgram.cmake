# Runs the program as a user would from a shell with no display, and checks what it printed.
#     cmake -DPROGRAM=path -DARGS="--analyze x.wav" -DEXPECT=success|failure
#           [-DHEADER=line] [-DLINE_REGEX=regex] [-DGOLDEN=file -DCOMPARE=comparer]
#           [-DSTDERR_REGEX=regex] -P RunProgram.cmake
# success: exit status 0, nothing on stderr (or, with STDERR_REGEX, a warning matching it),
#          stdout holds HEADER as its first line and some line matching LINE_REGEX.
#          With GOLDEN, stdout must agree with that file instead, as the program COMPARE
#          (corvane_golden_compare) judges it: numbers within its tolerance, the rest exactly.
#          On a difference the first differing lines are shown and stdout is left in
#          NAME.actual in the working directory, to diff against the golden file or copy over it.
# failure: a non-zero exit status, nothing on stdout, stderr matching STDERR_REGEX.
cmake_minimum_required(VERSION 3.25)
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${PROGRAM} ${args}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)

if(EXPECT STREQUAL "failure")
    if(status EQUAL 0)
        message(FATAL_ERROR "expected a failing exit status, got 0; stderr:\n${err}")
    endif()
    if(NOT out STREQUAL "")
        message(FATAL_ERROR "expected nothing on stdout, got:\n${out}")
    endif()
    if(NOT err MATCHES "${STDERR_REGEX}")
        message(FATAL_ERROR "stderr does not match '${STDERR_REGEX}':\n${err}")
    endif()
    return()
endif()

if(NOT status EQUAL 0)
    message(FATAL_ERROR "exit status ${status}; stderr:\n${err}")
endif()
if(DEFINED STDERR_REGEX)
    if(NOT err MATCHES "${STDERR_REGEX}")
        message(FATAL_ERROR "stderr does not match '${STDERR_REGEX}':\n${err}")
    endif()
elseif(NOT err STREQUAL "")
    message(FATAL_ERROR "expected nothing on stderr, got:\n${err}")
endif()
if(DEFINED GOLDEN)
    if(NOT DEFINED COMPARE)
        message(FATAL_ERROR "GOLDEN needs COMPARE, the program that compares with it")
    endif()
    get_filename_component(name "${GOLDEN}" NAME)
    file(WRITE "${name}.actual" "${out}")
    execute_process(COMMAND ${COMPARE} "${GOLDEN}" "${name}.actual"
                    RESULT_VARIABLE same OUTPUT_VARIABLE why ERROR_VARIABLE why)
    if(NOT same EQUAL 0)
        message(FATAL_ERROR "stdout differs from ${GOLDEN}:\n${why}see\n"
                            "    diff ${GOLDEN} ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual")
    endif()
    file(REMOVE "${name}.actual")
    return()
endif()
string(REPLACE "\n" ";" lines "${out}")
list(LENGTH lines count)
if(count LESS 1)
    message(FATAL_ERROR "no output")
endif()
list(GET lines 0 header)
if(NOT header STREQUAL HEADER)
    message(FATAL_ERROR "header is '${header}', expected '${HEADER}'")
endif()
foreach(line IN LISTS lines)
    if(line MATCHES "${LINE_REGEX}")
        return()
    endif()
endforeach()
message(FATAL_ERROR "no line matches '${LINE_REGEX}':\n${out}")
