# The checked build (-DKORVET_CHECKED=ON, in build/checked): the same sources with undefined-behaviour
# checks that trap without a runtime (an illegal instruction), the C++ library's assertions, stack
# protection and the fortified C functions. No address sanitizer exists for this target; these catch
# what a sweep's random input does wrong even where the bytes it checks stay intact.
add_compile_options(-fsanitize=undefined -fsanitize-undefined-trap-on-error -fstack-protector-strong
                    -fno-omit-frame-pointer)
add_compile_definitions(_GLIBCXX_ASSERTIONS _FORTIFY_SOURCE=2)
# The stack checks and the fortified functions live in libssp, linked in like the other runtimes
# (the build links with -static, so this is libssp.a).
add_link_options(-fstack-protector-strong)
# -O1 is enough for every check here (the fortified functions need some optimisation) and builds in
# about two thirds of the time of -O3.
foreach(language C CXX)
  set(CMAKE_${language}_STANDARD_LIBRARIES "${CMAKE_${language}_STANDARD_LIBRARIES} -lssp")
  set(CMAKE_${language}_FLAGS_RELEASE "-O1 -DNDEBUG")
endforeach()
