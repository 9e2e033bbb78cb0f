#pragma once

#include <cstring>
#include <vector>

#include "graphics3d/Camera.h"
#include "graphics3d/Context.h"
#include "graphics3d/Mode.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/SpringModel.h"
#include "math/Matrix4.h"
#include "physics/Relaxator.h"

// The cloth demo's scene on the current rendering context: its camera, depth mode and light, the
// pinned 50 x 50 cloth and its frame. Shared by the rendering tests and the cloth benchmark.
class ClothScene {
public:
    using Context = vardel::graphics3d::Context;
    using Weight = vardel::physics::Weight<float, 3>;

    ClothScene(Context* context, int width, int height)
        : context(context), width(width), height(height), cloth(vardel::graphics3d::SpringModel::createCloth(50, 50))
    {
        camera.zNear = 10.0f;
        camera.zFar = 1600.0f;
        camera.apply();
        mode.depthFunction = GL_LESS;
        mode.depthWrite = true;
        light.setPosition(900.0f, 790.0f, 400.0f);
        light.setAmbient(0.2f, 0.2f, 0.2f, 0.0f);
        light.setDiffuse(1.0f, 1.0f, 1.0f, 0.0f);
        light.setSpecular(0.3f, 0.3f, 0.3f, 0.0f);
        auto& solver = *cloth->relaxator;
        for (unsigned corner : {0u, 49u, 2450u, 2499u})
            solver.weights[corner].pinned = true;
        solver.gravity.set(0.0f, 0.0f, -9.8f);
        solver.uniformStiffness = 60.0f;
        solver.damping = 0.1f;
        parameters = vardel::graphics3d::ParameterBuffer::create(cloth->parameterFormat);
        view.setIdentity();
        view[11] = -400.0f;
        glViewport(0, 0, width, height);
    }

    ~ClothScene()
    {
        parameters->release();
        cloth->release();
        context->lights.remove(&light);
        context->modes.remove(&mode);
    }

    // Draws the cloth as it is, as the demo's frame does before its physics step.
    void draw()
    {
        context->modes.set(&mode);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        context->matrices.setMode(GL_MODELVIEW);
        glLoadIdentity();
        context->lights.set(0, &light);
        glEnable(GL_LIGHTING);
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
        glDisable(GL_CULL_FACE);
        std::memcpy(parameters->data(), view.m, sizeof(view.m));
        cloth->update();
        cloth->render(*parameters);
    }

    void step() { cloth->relaxator->step(integrateWeight, 0.05f); }

    // The back buffer, RGBA rows from the bottom.
    std::vector<unsigned char> readPixels()
    {
        std::vector<unsigned char> pixels(std::size_t(width) * height * 4);
        glFinish();
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static void integrateWeight(Weight* weight, const float* dt)
    {
        weight->position.add(vardel::math::Vector3<float>::scaled(*dt, weight->velocity));
    }

    Context* context;
    int width;
    int height;
    vardel::graphics3d::Camera camera;
    vardel::graphics3d::Mode mode;
    vardel::graphics3d::PointLight light;
    vardel::graphics3d::SpringModel* cloth;
    vardel::graphics3d::ParameterBuffer* parameters;
    vardel::math::Matrix4 view;
};
