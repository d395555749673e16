// What the Movie Controls pages share: the unit of their position slider and progress
// bar, and where near the end of a media they stop following its position.
#pragma once

// The slider and the bar count hundredths of a second: seconds × 100 truncated toward
// zero, and back with × 0.01.
inline int ToHundredths(double dSeconds)
{
    return static_cast<int>(dSeconds * 100);
}
inline double FromHundredths(int nHundredths)
{
    return nHundredths * 0.01;
}

// Past this share of the duration a page stops following the position, so that the
// position an engine reports past the end of the media never shows. The two pages keep
// the bounds they have always had, and they differ on purpose: the Information page's
// figures freeze in the last millionth of the media, while the Media page's slider goes
// on until the last hundred-millionth and so reaches its end.
const double kInfoFreezeShare = 0.999999;
const double kMediaFreezeShare = 0.99999999;
