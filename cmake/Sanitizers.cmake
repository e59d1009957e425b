# QUORVEL_SANITIZE applies to every target, so that tests, tools and the
# libraries they link share one instrumented runtime.
if(QUORVEL_SANITIZE)
  string(REPLACE ";" "," _quorvel_sanitizers "${QUORVEL_SANITIZE}")
  add_compile_options(-fsanitize=${_quorvel_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_quorvel_sanitizers})
endif()

# Under libFuzzer every library a fuzz target links carries coverage too, or
# the fuzzer would see only the target's own few branches.
if(QUORVEL_LIBFUZZER)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
