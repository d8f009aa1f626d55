#pragma once
// The mouse's built-in light effects. Which effects a mouse has depends on the controller
// variant ([OPT] MsFw); LedOpt1..LedOpt15 of section MS then change single effects.
#include "config/MouseDesc.h"

enum class EMsEffectVariant { A, B, C, D };

// Variant of the built-in effect table for a controller code.
EMsEffectVariant MsEffectVariant(int nMsFw);

// Replaces the 15 descriptors by the built-in table of the variant. nShowReaction is
// [MS] ShowReaction: 2 gives effect 9 of variant B its reaction switches.
void BuildMsEffectTable(MsEffectCfg (&Effects)[MS_EFFECT_NUM], int nMsFw, int nShowReaction);
