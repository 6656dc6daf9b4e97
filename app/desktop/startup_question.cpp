#include "app/desktop/startup_question.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "draw/frame_buffer.h"
#include "draw/text_drawing.h"
#include "render/render_resources.h"
#include "save/options_file.h"
#include "title/shown_language.h"
#include "title/startup_question_picture.h"

namespace mervox {

namespace {

struct QuestionDrawing {
    RenderResources res;
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
};

}  // namespace

QuestionAnswer AskInTheWindow(ProgramWindow& window, const PlayerInput& keys, const std::string& baseDir) {
    QuestionDrawing q;
    CreatePalette(q.res.palette);
    q.res.EnglishCaptionFont = CreateGameFont(kEnglishFontFile, 18, 400);
    ApplyOptions(q.res, ReadOptionsFile(baseDir), true);
    q.res.keys = BoundNames(keys.bindings);
    QuestionPainter painter;
    painter.draw = [&q](int highlighted) {
        DrawFullScreenQuestion(FrameView(*q.fb), q.res, highlighted);
        return static_cast<const uint32_t*>(q.fb->pixels);
    };
    painter.yes = QuestionButton{kQuestionYes.x0, kQuestionYes.y0, kQuestionYes.x1, kQuestionYes.y1};
    painter.no = QuestionButton{kQuestionNo.x0, kQuestionNo.y0, kQuestionNo.x1, kQuestionNo.y1};
    const QuestionAnswer answer = AskFullScreenInWindow(window, keys, painter);
    if (std::getenv("MERVOX_RUN_LOG") != nullptr)
        std::fprintf(stderr, "mervox: full-screen question answered: %s\n",
                     answer == QuestionAnswer::FullScreen ? "full screen"
                     : answer == QuestionAnswer::Window   ? "window"
                                                          : "quit");
    ReleaseRenderResources(q.res);
    return answer;
}

}  // namespace mervox
