// The name of Pickwire's pipe, known to the plug-in and to every program that sends it requests.
#pragma once

namespace pickwire {

constexpr char kPipeName[] = "\\\\.\\pipe\\PickwirePipe";

}  // namespace pickwire
