#pragma once

class CNoteWallImpl;

/// Told as a wall frame passes its moments, with the wall drawing it: the frame harness
/// times the parts of the frame with it. The game hands none to its walls, where it costs
/// one pointer test per moment.
class IWallFrameObserver
{
public:
    enum EMoment
    {
        kFrameStart, ///< Frame entered: the canvas is composed.
        kNotesStart, ///< Palette mapping and note bookkeeping begin...
        kNotesEnd,   ///< ... and end (between the background and the notes).
        kDrawEnd,    ///< Every GL call of the frame made, swap not yet.
        kSwapEnd,    ///< The buffer swap returned; the wall holds the frame's notes and pose.
        kMomentCount
    };

    virtual ~IWallFrameObserver() = default;
    virtual void OnFrameMoment(EMoment moment, const CNoteWallImpl& wall) = 0;
};
