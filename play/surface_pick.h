// Which of two surface slots 18 apart a drawing takes in the Direct3D back
// end: the second copy stands in for a first one without a texture.
#pragma once

// slot + 18 when alternate is 0 and slot's surface has no texture, or when
// alternate is set and the surface of slot + 18 has one; else slot. Only in
// the Direct3D back end.
int PickSurfaceSlot(int slot, int alternate);
