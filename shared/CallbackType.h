#pragma once
// A function handed to the system as a window, dialog, hook, timer, enumeration or thread
// procedure must have exactly the system's pointer type. Passed without a cast, the
// compiler checks that at the call; this states it beside the definition as well, so that
// a calling convention drifting from CALLBACK fails the 32-bit compile, the only one where
// conventions differ (x86_64 has one). scripts/check-casts.py finds callbacks without it.
#include <type_traits>

#define TANDREL_ASSERT_CALLBACK(Type, Function)                                  \
    static_assert(std::is_same<decltype(&Function), Type>::value,               \
                  #Function " must have exactly the type " #Type)
