// What the painter takes of an image's frames before it starts.
#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPainter.h"

std::vector<TGIFPaintFrame> PaintPlan(TGIFImage& image)
{
    std::vector<TGIFPaintFrame> plan;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& frame = image.Images().SubImage(i);
        if (frame.Empty())
            break;
        TGIFPaintFrame step;
        if (const TGIFGraphicControlExtension* control = frame.GraphicControlExtension()) {
            step.hasControl = true;
            step.delay = control->Delay();
            step.disposal = control->Disposal();
        }
        for (int e = 0; e < frame.Extensions().Count() && step.loops < 0; ++e)
            if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&frame.Extensions().Extension(e)))
                step.loops = loop->Loops;
        plan.push_back(step);
    }
    return plan;
}
