#include "render/markup/ObjectLabel.h"

#include "model/ProgramState.h"
#include "render/markup/MarkupDraw.h"

QPoint ObjectLabelTopLeft(int position, QPoint anchor, QSize label, int fontSize, int objectKind, const TRect& view)
{
    const int w = label.width();
    const int h = label.height();
    const int d5 = fontSize / 5;
    const int d3 = fontSize / 3;
    int dx = 0;
    int dy = 0;
    switch (position) {
    case 1: dx = -w - d5; dy = -h - d5; break;
    case 2: dx = -w - d5; dy = d5; break;
    case 3: dx = d5; dy = -h - d5; break;
    case 4: dx = d5; dy = d5; break;
    case 5: dx = -w / 2; dy = -h / 2; break;
    case 6: dx = -w / 2; dy = -h - d3; break;
    case 7: dx = -w / 2; dy = d3; break;
    case 8: dx = -w - d3; dy = -h / 2; break;
    case 9: dx = d3; dy = -h / 2; break;
    default: break;
    }
    QPoint at = anchor + QPoint(dx, dy);
    if (objectKind == HorizontalLineObject) {
        if (position == 1 || position == 2 || position == 8)
            at.setX(view.Left + d5);
        else if (position == 3 || position == 4 || position == 9)
            at.setX(view.Right - w);
        else if (position >= 5 && position <= 7)
            at.setX((view.Left + view.Right - w) / 2);
    } else if (objectKind == VerticalLineObject) {
        if (position == 1 || position == 3 || position == 6)
            at.setY(view.Top + d5);
        else if (position == 2 || position == 4 || position == 7)
            at.setY(view.Bottom - h - d5);
        else if (position == 5 || position == 8 || position == 9)
            at.setY((view.Top + view.Bottom - h) / 2);
    }
    return at;
}

void DrawObjectLabel(TCanvas& canvas, int position, const QString& text, int objectKind, QPoint anchor,
                     const TRect& view, int compileMode, const TDrawContext& context)
{
    const TFont saved = canvas.Font;
    canvas.Font.Bold = false;
    canvas.Font.Italic = false;
    canvas.Font.Underline = false;
    canvas.Font.Width = 0;
    canvas.Font.Color = ColorBlack;
    canvas.Font.SetSize(context.Magnify(ProgramState.FontSize + 1));
    canvas.Brush.Style = TBrushStyle::Clear;

    TMarkupOptions options;
    options.BaseColor = ColorBlack;
    options.CompileMode = compileMode;
    options.Context = context;
    options.Draw = false;
    const TMarkupExtent measured = DrawMarkupLine(canvas, text, 0, 0, options);
    const QSize size(measured.Right, measured.Height());
    const QPoint at = ObjectLabelTopLeft(position, anchor, size, context.Magnify(ProgramState.FontSize), objectKind, view);
    options.Draw = true;
    DrawMarkupLine(canvas, text, at.x(), at.y() - measured.Top, options);
    canvas.Font = saved;
}
