# Options for every target of this project that computes with doubles.
#
# The results are exact to the last bit only with one rounding per operation
# in source order. These options come after any CMAKE_CXX_FLAGS on the
# command line, so they hold whatever flags a user adds (-O3, -march=native
# with FMA, even -ffast-math).
include(CheckCXXCompilerFlag)

option(VORNCONV_WERROR "Treat compiler warnings as errors" OFF)

set(vornconv_fp_options -fno-fast-math -ffp-contract=off)
# x87 arithmetic carries excess precision; keep doubles in SSE registers.
check_cxx_compiler_flag("-msse2 -mfpmath=sse" vornconv_have_sse_math)
if(vornconv_have_sse_math)
  list(APPEND vornconv_fp_options -msse2 -mfpmath=sse)
endif()

# Clang warns when these override a user's -ffast-math; overriding it is the point.
# (GCC accepts any -Wno- option silently, so ask Clang alone.)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  check_cxx_compiler_flag("-Wno-overriding-t-option" vornconv_have_overriding_t_warning)
  if(vornconv_have_overriding_t_warning)
    list(APPEND vornconv_fp_options -Wno-overriding-t-option)
  endif()
endif()

function(vornconv_target_options target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic $<$<BOOL:${VORNCONV_WERROR}>:-Werror>
    ${vornconv_fp_options})
  # -ffast-math at link time adds start-up code that flushes subnormals to
  # zero in the whole process; -fno-fast-math after it leaves that out.
  target_link_options(${target} PRIVATE -fno-fast-math)
endfunction()
