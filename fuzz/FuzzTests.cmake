# Included by tests/: builds the fuzz targets of fuzz/ with clang as a project of
# their own and registers each as a CTest suite that fuzzes for a few seconds from
# its seed corpus. Without clang and its libFuzzer runtime they are left out.
# `ctest -L fuzz` runs only these, `ctest -LE fuzz` all but these; for a longer
# run by hand: tests/fuzz/fuzz_gif -max_total_time=600 tests/fuzz/work/gif <root>/fuzz/corpus/gif
set(VX_FUZZ_SECONDS 8 CACHE STRING "How long each fuzz test runs, in seconds")
set(VX_FUZZ_TARGETS gif rxgif ani bmp html_tokenizer html_tags lang_file translation_table reg_file ini_file smtp_reply ftp_list html_links params regexpr csv_import image_size html_compress rtf_html page_title date_format component_stream)
# The markup words each target's mutations may splice in (fuzz/dict/<name>.dict).
set(vx_fuzz_dict_gif gif)
set(vx_fuzz_dict_rxgif gif)
set(vx_fuzz_dict_html_tokenizer html)
set(vx_fuzz_dict_html_tags html)
set(vx_fuzz_dict_html_links html)
set(vx_fuzz_dict_html_compress html_compress)
set(vx_fuzz_dict_rtf_html rtf_html)
set(vx_fuzz_dict_reg_file reg_file)

# The macro-recording reader.
list(APPEND VX_FUZZ_TARGETS asr_file)
# The snippet list and the names in it.
list(APPEND VX_FUZZ_TARGETS snippet_list)
# A page's declaration of its character set, which the browser preview reads.
list(APPEND VX_FUZZ_TARGETS declared_charset)
set(vx_fuzz_dict_declared_charset declared_charset)
# UTF-8, Windows-1252 and the documents read as either.
list(APPEND VX_FUZZ_TARGETS text_encodings)

find_program(VX_CLANGXX NAMES clang++ clang++-14)
set(vx_fuzz_runtime "")
if(VX_CLANGXX)
  execute_process(COMMAND ${VX_CLANGXX} -print-resource-dir
    OUTPUT_VARIABLE vx_clang_resources OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  file(GLOB vx_fuzz_runtime "${vx_clang_resources}/lib/*/libclang_rt.fuzzer*.a")
endif()

if(NOT vx_fuzz_runtime)
  message(STATUS "Fuzz tests skipped: clang++ with its libFuzzer runtime (libclang-rt-14-dev) is not installed")
else()
  include(ExternalProject)
  set(vx_fuzz_build ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
  set(vx_fuzz_args -DCMAKE_CXX_COMPILER=${VX_CLANGXX})
  if(CCACHE_PROGRAM)
    list(APPEND vx_fuzz_args -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE_PROGRAM})
  endif()
  # Always handed to the sub-build, which knows itself what is out of date.
  ExternalProject_Add(vx_fuzz
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
    BINARY_DIR ${vx_fuzz_build}
    CMAKE_ARGS ${vx_fuzz_args}
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE)

  foreach(target IN LISTS VX_FUZZ_TARGETS)
    # New inputs libFuzzer finds go to the first folder, never into the checked-in seeds.
    # One input that takes more than 20 s is reported as a hang, with room for a slow machine.
    set(work ${vx_fuzz_build}/work/${target})
    file(MAKE_DIRECTORY ${work})
    set(dict)
    if(vx_fuzz_dict_${target})
      set(dict -dict=${PROJECT_SOURCE_DIR}/fuzz/dict/${vx_fuzz_dict_${target}}.dict)
    endif()
    add_test(NAME fuzz_${target}
      COMMAND ${vx_fuzz_build}/fuzz_${target}
        -max_total_time=${VX_FUZZ_SECONDS} -timeout=20 -rss_limit_mb=2048
        -print_final_stats=0 -artifact_prefix=${vx_fuzz_build}/${target}- ${dict}
        ${work} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(fuzz_${target} PROPERTIES
      ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1"
      LABELS fuzz
      TIMEOUT 120)
  endforeach()
endif()
