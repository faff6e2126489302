// The RTF codec.
#pragma once
